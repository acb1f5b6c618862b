// Runs a fuzz target over every file of the folders (or the files) it is given, the way libFuzzer
// would run it on one input, so that the committed corpus replays in the ordinary test run.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

bool runFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return false;
    }
    const QByteArray bytes = file.readAll();
    std::fprintf(stderr, "running %s (%lld bytes)\n", qPrintable(path), static_cast<long long>(bytes.size()));
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        const QString path = QString::fromLocal8Bit(argv[i]);
        if (!QFileInfo(path).isDir()) {
            if (!runFile(path))
                return 1;
            ++inputs;
            continue;
        }
        const QDir folder(path);
        for (const QString& name : folder.entryList(QDir::Files, QDir::Name)) {
            if (!runFile(folder.filePath(name)))
                return 1;
            ++inputs;
        }
    }
    // An empty or missing corpus would pass without testing anything.
    if (inputs == 0) {
        std::fprintf(stderr, "no inputs found\n");
        return 1;
    }
    std::fprintf(stderr, "%d inputs ran\n", inputs);
    return 0;
}
