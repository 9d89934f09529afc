#include "libs/VnResD5/VnResD5.h"

#include "libs/VnResD5/VnResPictures.h"

extern "C" {

__attribute__((visibility("default"))) int GetMaxBmpID() { return vnres::kMaxPictureNumber; }

}
