#include "platform/core/TextConversion.h"

#include <cerrno>
#include <iconv.h>
#include <map>
#include <memory>
#include <utility>

namespace platform {
namespace {

class IconvHandle {
  public:
    IconvHandle(const char* from, const char* to) : handle_(iconv_open(to, from)) {}
    ~IconvHandle() {
        if (valid()) {
            iconv_close(handle_);
        }
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;

    bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return handle_; }

  private:
    iconv_t handle_;
};

// Opening a converter loads its tables, which costs far more than a short conversion: keep one per
// pair of character sets and thread.
IconvHandle& ConverterFor(const char* from, const char* to) {
    thread_local std::map<std::pair<std::string, std::string>, std::unique_ptr<IconvHandle>> converters;
    auto& converter = converters[{from, to}];
    if (!converter) {
        converter = std::make_unique<IconvHandle>(from, to);
    }
    return *converter;
}

} // namespace

std::optional<std::string> ConvertText(std::string_view bytes, const char* from, const char* to) {
    IconvHandle& converter = ConverterFor(from, to);
    if (!converter.valid()) {
        return std::nullopt;
    }
    iconv(converter.get(), nullptr, nullptr, nullptr, nullptr); // back to the initial shift state
    std::string out;
    std::string chunk(256, '\0');
    // iconv's interface is not const-correct; it does not write through the input pointer.
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    for (;;) {
        char* outPos = chunk.data();
        std::size_t outLeft = chunk.size();
        const std::size_t done =
            iconv(converter.get(), inLeft == 0 ? nullptr : &in, &inLeft, &outPos, &outLeft);
        out.append(chunk.data(), chunk.size() - outLeft);
        if (done != static_cast<std::size_t>(-1)) {
            if (inLeft == 0) {
                break;
            }
            continue;
        }
        if (errno != E2BIG) {
            return std::nullopt; // invalid or incomplete input, or not representable in `to`
        }
    }
    return out;
}

} // namespace platform
