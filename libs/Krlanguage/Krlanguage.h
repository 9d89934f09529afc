// The C entry points of the conversion library. Every text entry takes narrow text with its byte
// length and writes the result into a buffer the caller owns: the answer is the length of the
// converted text, and the text is written (followed by a NUL when there is room) only when it fits
// in `capacity` bytes. A caller with too small a buffer calls again with the answered length, so no
// memory ever changes hands between the libraries. A negative answer means the conversion could not
// run (its character data is missing).
#pragma once

#define KRLANGUAGE_API __attribute__((visibility("default")))

extern "C" {

// The shape of the four text entries, for callers that bind them by name.
using KrTextConversion = int (*)(const char* text, int length, char* buffer, int capacity);

// GB (code page 936) to BIG5 (code page 950), Simplified to Traditional (Taiwan forms).

KRLANGUAGE_API int GBtoBIG5(const char* text, int length, char* buffer, int capacity);
// BIG5 (code page 950) to GB (code page 936), Traditional to Simplified.
KRLANGUAGE_API int BIG5toGB(const char* text, int length, char* buffer, int capacity);
// The target-code-page form of a text, without a change of script: GB to BIG5 bytes and back.
KRLANGUAGE_API int GetBIG5Data(const char* text, int length, char* buffer, int capacity);
KRLANGUAGE_API int GetGBData(const char* text, int length, char* buffer, int capacity);
// Kept for callers that record their conversion order; this library keeps no order and answers 0.
KRLANGUAGE_API int SaveOrder(int order);

}
