#include "sms_parts.h"

namespace server {

int SmsParts(std::size_t textLength, std::size_t nickLength) {
    const std::size_t total = textLength + (nickLength == 0 ? 1 : nickLength);
    if (total + 1 <= 160) {
        return 1;
    }
    return static_cast<int>((total + 154) / 155);
}

} // namespace server
