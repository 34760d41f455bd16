// Feeds arbitrary line text to the reading decoder twice: whole, and one byte per
// delivery. Neither may crash, and while no run between tag letters or line ends
// outgrows the kept-text bound, both must leave the same readings and the same counts
// of decoded and dropped ones. (Stray characters cut runs shorter still, so the bound
// test errs on the side of checking less.)

#include "app/ReadingDecoder.h"

#include <cstdlib>
#include <string_view>

namespace {

bool runsFitTheBound(std::string_view text)
{
    std::size_t run = 0;
    for (char c : text) {
        run = ReadingDecoder::channelOfTag(c) >= 0 || ReadingDecoder::isLineEnd(c) ? 0 : run + 1;
        if (run > ReadingDecoder::maxPendingLength)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    const auto multiplier = std::int32_t(data[0]) - 100;
    const std::string_view text(reinterpret_cast<const char *>(data + 1), size - 1);

    AcquisitionState whole, bytewise;
    whole.multiplier = bytewise.multiplier = multiplier;
    ReadingDecoder wholeDecoder(whole), bytewiseDecoder(bytewise);
    wholeDecoder.decode(text);
    for (std::size_t i = 0; i < text.size(); ++i)
        bytewiseDecoder.decode(text.substr(i, 1));

    if (runsFitTheBound(text)
        && (whole.adcValue != bytewise.adcValue || wholeDecoder.droppedCount() != bytewiseDecoder.droppedCount()
            || wholeDecoder.decodedCount() != bytewiseDecoder.decodedCount()))
        std::abort();
    return 0;
}
