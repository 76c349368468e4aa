// Helper of the registry store test: writes <count> numbers named
// <prefix><i> = i into a key, one write at a time.
//   registry_writer <key path> <prefix> <count>
#include "framework/RegistryStore.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc != 4) return 2;
    auto key = framework::RegistryKey::openOrCreate(QString::fromLocal8Bit(argv[1]));
    if (!key) return 1;
    const QString prefix = QString::fromLocal8Bit(argv[2]);
    const int count = QString::fromLocal8Bit(argv[3]).toInt();
    for (int i = 0; i < count; ++i) {
        if (!key->writeNumber(prefix + QString::number(i), i)) {
            std::fprintf(stderr, "write %d failed\n", i);
            return 1;
        }
    }
    return 0;
}
