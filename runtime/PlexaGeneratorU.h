// Exception reports into the daily alert file "Alert_PlexaGenerator_<yyyymmdd>.log", and the
// scrambling of the database passwords kept in the server settings file.
#pragma once

#include <exception>
#include <string>

namespace krv {

// Stored for an empty password, so that a scrambled password is never empty text.
inline constexpr const char* kEmptyPasswordMarker = "KR_Say_NoPassWord_ThePassWordIsEmpty";
// Given as the password when the stored text cannot be unscrambled.
inline constexpr const char* kPasswordErrorMarker = "KR_Say_Password_Error";

// The installation folder of the client (else the server) shell, else the temporary folder,
// else "/tmp"; never empty.
std::string GetAlertHomePath();
// Appends "[<short date> <long time>] Line" to the reporter's file in the Log folder below
// GetAlertHomePath(); false when the file cannot be written.
bool WriteGeneratorAlert(const std::string& line);
// Writes the report of one exception (which may be absent): a dash line naming Where, the
// error lines by the kind of error, their count, and the programmer's message.
void ReportException(const std::exception* e, const std::string& where,
                     const std::string& programmerMessage);

// Two upper-case hex digits per byte, each byte rotated right by its position mod 8.
std::string EncodeSQLSa(const std::string& password);
// The inverse; "" for the empty-password marker or empty text, kPasswordErrorMarker (and one
// report) when the text holds a pair that is no hex number.
std::string DecodeSQLSa(const std::string& scrambled);

}  // namespace krv
