// Password store and table costs for stores of growing size, up to a full device memory: encoding,
// parsing, filling the tables from a parsed store, and building the same tables by sorted insertion.
#include "PasswordStoreCodec.h"
#include "PasswordTable.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTabWidget>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace
{
constexpr int TAB_COUNT = 10;

QString randomWord(QRandomGenerator& random, int minimumLength, int maximumLength)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz";
    QString word;
    const int length = minimumLength + random.bounded(maximumLength - minimumLength + 1);
    for (int i = 0; i < length; i++)
        word += QLatin1Char(letters[random.bounded(26)]);
    return word;
}

// Records shaped like real ones, about 78 bytes each: 1650 of them nearly fill the 130948-byte store.
QList<PasswordStoreCodec::Tab> makeStore(int recordCount)
{
    QRandomGenerator random(2024);
    static const char passwordCharacters[] =
        "abcdefghijkmnopqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ23456789!#$%&*+-=?@";
    QList<PasswordStoreCodec::Tab> tabs;
    for (int t = 0; t < TAB_COUNT; t++)
        tabs.append({QStringLiteral("Tab ") + randomWord(random, 3, 8), {}});
    for (int r = 0; r < recordCount; r++)
    {
        PasswordTable::Password password;
        QString name = randomWord(random, 4, 10);
        name[0] = name[0].toUpper();
        password.data[PasswordTable::PASSWORD_DATA_ID_NAME] =
            name + QLatin1Char(' ') + randomWord(random, 2, 5);
        password.data[PasswordTable::PASSWORD_DATA_ID_LOGIN] = randomWord(random, 4, 8) + QLatin1Char('.') +
                                                               randomWord(random, 4, 8) +
                                                               QStringLiteral("@mail.com");
        QString secret;
        for (int i = 0; i < 16; i++)
            secret += QLatin1Char(passwordCharacters[random.bounded(int(sizeof(passwordCharacters) - 1))]);
        password.data[PasswordTable::PASSWORD_DATA_ID_PASSWORD] = secret;
        password.data[PasswordTable::PASSWORD_DATA_ID_URL] =
            QStringLiteral("https://") + randomWord(random, 4, 10) + QStringLiteral(".com");
        if (random.bounded(4) == 0)
            password.data[PasswordTable::PASSWORD_DATA_ID_NOTE] =
                QStringLiteral("Recovery: ") + randomWord(random, 5, 12);
        tabs[random.bounded(TAB_COUNT)].passwords.append(password);
    }
    return tabs;
}

// Best of several runs, in milliseconds: the machine is shared and the minimum is the steadiest figure.
double bestOf(int runs, const std::function<void()>& work)
{
    double best = 1e300;
    for (int run = 0; run < runs; run++)
    {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

// The tables sit in a shown tab widget, as in the main window, so that only one of them is visible.
struct Tables
{
    QTabWidget tabWidget;
    QList<PasswordTable*> tables;

    Tables()
    {
        tabWidget.resize(1200, 700);
        for (int t = 0; t < TAB_COUNT; t++)
        {
            tables.append(new PasswordTable());
            tabWidget.addTab(tables.last(), QStringLiteral("Tab %1").arg(t));
        }
        tabWidget.show();
        QApplication::processEvents();
    }
};

void print(const char* name, int recordCount, double value, const char* unit)
{
    std::printf("%s_%d_records: %.3f %s\n", name, recordCount, value, unit);
}
} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    // The eye icons live in the library's resources, which an executable must pull in itself.
    std::vector<unsigned char> buffer(PasswordStoreCodec::MEMORY_SIZE);

    // The last size is twice what the device holds: only the tables are measured there, to show how
    // they grow past a full store.
    for (const int recordCount : {410, 825, 1650, 3300})
    {
        const QList<PasswordStoreCodec::Tab> store = makeStore(recordCount);
        QList<PasswordStoreCodec::Tab> parsed = store;
        const int freeBytes = PasswordStoreCodec::encode(store, buffer.data());
        if (freeBytes >= 0)
        {
            print("store_size", recordCount, PasswordStoreCodec::STORE_CAPACITY - freeBytes, "bytes");
            print("encode", recordCount,
                  bestOf(20, [&]() { PasswordStoreCodec::encode(store, buffer.data()); }), "ms");
            print("parse", recordCount,
                  bestOf(20,
                         [&]()
                         {
                             parsed.clear();
                             PasswordStoreCodec::parse(buffer.data(), &parsed);
                         }),
                  "ms");
        }

        // Opening a device: lists assigned as parsed, then each table rebuilt once. Only the work is
        // timed, not building the widgets around it.
        const auto timeOnFreshTables = [&](const std::function<void(Tables&)>& work)
        {
            double best = 1e300;
            for (int run = 0; run < 3; run++)
            {
                Tables tables;
                QElapsedTimer timer;
                timer.start();
                work(tables);
                best = std::min(best, timer.nsecsElapsed() / 1e6);
            }
            return best;
        };
        print("fill_tables", recordCount,
              timeOnFreshTables(
                  [&](Tables& tables)
                  {
                      for (int t = 0; t < TAB_COUNT; t++)
                      {
                          tables.tables[t]->passwords = parsed[t].passwords;
                          tables.tables[t]->fillTableWithPasswords();
                      }
                  }),
              "ms");

        // The same records entered one by one, each at its sorted place.
        const double insertMilliseconds = timeOnFreshTables(
            [&](Tables& tables)
            {
                for (int t = 0; t < TAB_COUNT; t++)
                    for (const PasswordTable::Password& password : parsed[t].passwords)
                        tables.tables[t]->insertPassword(password);
            });
        print("insert_one_by_one", recordCount, insertMilliseconds, "ms");
        print("insert_per_record", recordCount, insertMilliseconds * 1000.0 / recordCount, "us");
    }
    return 0;
}
