// Prepares the state folder of a simulated Pavisor that holds demo records, so that someone trying
// the application without a device can open one at once (scripts/run-app.sh runs the simulator on
// it). The records are encoded and encrypted by the application's own code.
#include "DemoContent.h"
#include "Device.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <cstdio>
#include <memory>

namespace
{
constexpr int EXIT_REAL_DEVICE_PRESENT = 3;

void printUsage(FILE* out)
{
    std::fprintf(out, "Usage: pavisor_demo_device --state DIR --password TEXT [--scheme 1|2] [--force]\n"
                      "\n"
                      "Writes DIR/main.bin and DIR/backup.bin: the same image holding a few tabs of demo\n"
                      "records, encrypted with TEXT under the given scheme (default 2). Run the device\n"
                      "simulator with --state DIR to plug the demo device in.\n"
                      "\n"
                      "When a real Pavisor is connected, nothing is written and the exit code is 3, so that\n"
                      "the demo never stands next to a real device; --force writes anyway.\n");
}

bool writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QString stateDirectory;
    QString password;
    Security::EncryptionSchemeId scheme = Security::ENCRYPTION_SCHEME_ID_2;
    bool isForced = false;
    const QStringList arguments = application.arguments();
    for (int i = 1; i < arguments.size(); i++)
    {
        const QString& flag = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (flag == QLatin1String("--state") && hasValue)
            stateDirectory = arguments[++i];
        else if (flag == QLatin1String("--password") && hasValue)
            password = arguments[++i];
        else if (flag == QLatin1String("--scheme") && hasValue &&
                 (arguments[i + 1] == QLatin1String("1") || arguments[i + 1] == QLatin1String("2")))
            scheme = static_cast<Security::EncryptionSchemeId>(arguments[++i].toInt());
        else if (flag == QLatin1String("--force"))
            isForced = true;
        else
        {
            printUsage(flag == QLatin1String("--help") ? stdout : stderr);
            return flag == QLatin1String("--help") ? 0 : 1;
        }
    }
    if (stateDirectory.isEmpty() || password.isEmpty())
    {
        printUsage(stderr);
        return 1;
    }

    if (!isForced)
    {
        // Real ports only: simulators announced in the environment are not devices of the user.
        qunsetenv("PAVISOR_SIMULATOR_DIR");
        std::unique_ptr<QList<DevicePortInfo>> ports(Device::findAvailableDevices());
        if (ports != nullptr && !ports->isEmpty())
        {
            std::fprintf(stderr, "pavisor_demo_device: a Pavisor is connected, no demo device written\n");
            return EXIT_REAL_DEVICE_PRESENT;
        }
    }

    const QByteArray image = DemoContent::encryptedImage(DemoContent::demoTabs(), password, scheme);
    const QDir directory(stateDirectory);
    if (image.isEmpty() || !directory.mkpath(QStringLiteral(".")) ||
        !writeFile(directory.filePath(QStringLiteral("main.bin")), image) ||
        !writeFile(directory.filePath(QStringLiteral("backup.bin")), image))
    {
        std::fprintf(stderr, "pavisor_demo_device: cannot write the demo device into %s\n",
                     qPrintable(stateDirectory));
        return 1;
    }
    return 0;
}
