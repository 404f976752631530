// Runs a libFuzzer target's checks over the files given and every file of the folders
// given, so that the seeds and every input a fuzzer once failed on are tested in the
// ordinary build too.
#include <QByteArray>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

int main(int argc, char **argv)
{
    int count = 0;
    for (int i = 1; i < argc; ++i) {
        const QString path = QString::fromLocal8Bit(argv[i]);
        QStringList paths;
        if (QFileInfo(path).isDir()) {
            for (QDirIterator files(path, QDir::Files); files.hasNext();)
                paths.append(files.next());
        } else {
            paths.append(path);
        }
        for (const QString &each : paths) {
            QFile file(each);
            if (!file.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "cannot read %s\n", qPrintable(file.fileName()));
                return 1;
            }
            const QByteArray bytes = file.readAll();
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
            ++count;
        }
    }
    std::printf("%d inputs passed\n", count);
    return count > 0 ? 0 : 1;
}
