// Replays a fuzz corpus through a fuzz entry point, so the sanitizer test build keeps every
// corpus and crash reproducer green even where libFuzzer is not available.
#include <QDir>
#include <QFile>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    int files = 0;
    for (int i = 1; i < argc; ++i) {
        const QDir dir(QString::fromLocal8Bit(argv[i]));
        const auto entries = dir.entryInfoList(QDir::Files, QDir::Name);
        for (const QFileInfo& info : entries) {
            QFile file(info.filePath());
            if (!file.open(QIODevice::ReadOnly))
                continue;
            const QByteArray bytes = file.readAll();
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                   static_cast<size_t>(bytes.size()));
            ++files;
        }
    }
    std::printf("replayed %d inputs\n", files);
    return 0;
}
