// Feeds arbitrary bytes to the message catalogue reader as a .mo file. The reader must
// refuse what is not a well-formed catalogue and never read outside the data; a catalogue
// it accepts must answer every lookup, for texts it holds and texts it does not, with a
// string that is null or no longer than the data (every character comes from at least one
// of its bytes).

#include "runtime/MessageCatalogue.h"

#include <QByteArray>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<MessageCatalogue> catalogue = MessageCatalogue::parse(bytes);
    if (!catalogue)
        return 0;
    // Every piece of the data between NULs, among them whatever originals it holds.
    for (const QByteArray &text : bytes.split('\0')) {
        const QString translated = catalogue->translation(text.constData());
        if (translated.size() > bytes.size())
            std::abort();
    }
    if (!catalogue->translation("").isNull())
        std::abort(); // the header is never a translation
    return 0;
}
