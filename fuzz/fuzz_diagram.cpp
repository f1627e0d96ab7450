// libFuzzer target: the installation diagram reader, with no application object and no scene.
// What reads is written again; the written bytes must read back, without twin ids, to a model
// that writes the very same bytes.
#include "DiagramFormat.h"

#include <QByteArray>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    DiagramModel model;
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size));
    if (DiagramFormat::read(input, &model).problem != DiagramFormat::None)
        return 0;
    const QByteArray saved = DiagramFormat::write(model);
    DiagramModel reopened;
    const DiagramFormat::ReadResult again = DiagramFormat::read(saved, &reopened);
    // A file the program saved always reopens as it was saved.
    if (again.problem != DiagramFormat::None || again.renumbered || DiagramFormat::write(reopened) != saved)
        std::abort();
    return 0;
}
