// Feeds arbitrary bytes from a port server to the Telnet decoder, once whole and once
// cut at places the input itself chooses: the line's data, the replies and the answers
// must not depend on how the bytes were split into arrivals.

#include "serial/TelnetCodec.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

struct Result
{
    std::string data;
    std::string replies;
    std::optional<std::uint32_t> rate;
};

Result decode(std::string_view bytes, std::uint8_t cut)
{
    TelnetCodec codec;
    codec.start();
    Result result;
    const std::size_t step = cut == 0 ? bytes.size() + 1 : cut;
    for (std::size_t at = 0; at < bytes.size(); at += step) {
        codec.receive(bytes.substr(at, step));
        result.data += codec.takeData();
        result.replies += codec.takeReplies();
    }
    result.rate = codec.answer(TelnetCodec::SetBaudRate);
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view bytes(reinterpret_cast<const char *>(data) + 1, size - 1);
    const Result whole = decode(bytes, 0);
    const Result pieces = decode(bytes, data[0]);
    if (whole.data != pieces.data || whole.replies != pieces.replies || whole.rate != pieces.rate)
        std::abort();
    // Every data byte came from the input, an undoubled 255 from two.
    if (whole.data.size() > bytes.size())
        std::abort();
    return 0;
}
