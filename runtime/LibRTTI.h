// Published properties read and written by name on a component: text, ordinal and event-handler
// properties, names compared ignoring case. A missing object, an empty name or a property the
// class does not publish is no error here: getters answer "", 0 or an empty handler, setters do
// nothing, HasPropByName answers false. A property of the wrong kind raises, so that the caller
// sees the mistake.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Classes.h"

namespace krv {

bool HasPropByName(const TObject* object, const std::string& name);

std::string GetStrPropByName(TObject* object, const std::string& name);
void SetStrPropByName(TObject* object, const std::string& name, const std::string& value);

// Integers, characters, enumerations (by ordinal) and sets (as bits).
int64_t GetOrdPropByName(TObject* object, const std::string& name);
void SetOrdPropByName(TObject* object, const std::string& name, int64_t value);

TMethod GetMethodPropByName(TObject* object, const std::string& name);
void SetMethodPropByName(TObject* object, const std::string& name, const TMethod& handler);

}  // namespace krv
