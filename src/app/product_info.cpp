// Version texts built from the build's version numbers.
#include "app/product_info.h"

#include "kavero/version.h"

namespace kavero::app {

std::string versionText() {
    return std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
           std::to_string(kVersionRevision);
}

std::string mainCaption() {
    return std::string(kProductName) + " Version " + std::to_string(kVersionMajor) + "." +
           std::to_string(kVersionMinor);
}

} // namespace kavero::app
