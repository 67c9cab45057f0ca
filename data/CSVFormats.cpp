#include "CSVFormats.h"

#include <QCoreApplication>
#include <QUrl>

#include <algorithm>
#include <climits>

namespace
{
using F = CSVFormats;
constexpr bool REQUIRED = true;
constexpr bool OPTIONAL = false;

int findColumn(const CSVFormats::Format& format, const QString& name)
{
    const QString trimmedName = name.trimmed();
    for (int index = 0; index < format.columns.size(); index++)
    {
        if (trimmedName.compare(QLatin1String(format.columns[index].name), Qt::CaseInsensitive) == 0)
            return index;
    }
    return -1;
}

// One value of a line with what the table says of it.
struct Candidate
{
    int columnIndex;
    QString label;
    const QString* pointerValue;
};
} // namespace

// Each entry follows the columns the program documents for its CSV export. Columns of a recognised
// file that an entry does not list (a newer version's) are kept in the note like note lines. Names
// holding words of ours are translated where they are shown (context "CSV").
const QList<CSVFormats::Format>& CSVFormats::getKnownFormats()
{
    static const QList<Format> formats = {
        {QT_TRANSLATE_NOOP("CSV", "Chrome, Edge or another Chromium browser"),
         LAYOUT_COLUMNS,
         false,
         {{"name", F::TARGET_NAME, REQUIRED},
          {"url", F::TARGET_URL, REQUIRED},
          {"username", F::TARGET_LOGIN, REQUIRED},
          {"password", F::TARGET_PASSWORD, REQUIRED},
          {"note", F::TARGET_NOTE, OPTIONAL}}},
        {"Firefox",
         LAYOUT_COLUMNS,
         false,
         {{"url", F::TARGET_URL, REQUIRED},
          {"username", F::TARGET_LOGIN, REQUIRED},
          {"password", F::TARGET_PASSWORD, REQUIRED},
          {"httpRealm", F::TARGET_NOTE_LINE, REQUIRED},
          {"formActionOrigin", F::TARGET_NOTE_LINE, REQUIRED}}},
        {"Safari",
         LAYOUT_COLUMNS,
         false,
         {{"Title", F::TARGET_NAME, REQUIRED},
          {"URL", F::TARGET_URL, REQUIRED},
          {"Username", F::TARGET_LOGIN, REQUIRED},
          {"Password", F::TARGET_PASSWORD, REQUIRED},
          {"Notes", F::TARGET_NOTE, REQUIRED},
          {"OTPAuth", F::TARGET_NOTE_LINE, REQUIRED}}},
        {"Bitwarden",
         LAYOUT_COLUMNS,
         false,
         {{"folder", F::TARGET_FOLDER, OPTIONAL},
          // Organisation exports have collections where personal ones have a folder.
          {"collections", F::TARGET_FOLDER, OPTIONAL},
          {"type", F::TARGET_NOTE_LINE, REQUIRED, "login"},
          {"name", F::TARGET_NAME, REQUIRED},
          {"notes", F::TARGET_NOTE, REQUIRED},
          {"fields", F::TARGET_NOTE_LINE, REQUIRED},
          {"reprompt", F::TARGET_NOTE_LINE, OPTIONAL, "0"},
          {"login_uri", F::TARGET_URL, REQUIRED},
          {"login_username", F::TARGET_LOGIN, REQUIRED},
          {"login_password", F::TARGET_PASSWORD, REQUIRED},
          {"login_totp", F::TARGET_NOTE_LINE, REQUIRED}}},
        {"KeePassXC",
         LAYOUT_COLUMNS,
         false,
         {{"Group", F::TARGET_FOLDER, REQUIRED},
          {"Title", F::TARGET_NAME, REQUIRED},
          {"Username", F::TARGET_LOGIN, REQUIRED},
          {"Password", F::TARGET_PASSWORD, REQUIRED},
          {"URL", F::TARGET_URL, REQUIRED},
          {"Notes", F::TARGET_NOTE, REQUIRED},
          {"Icon", F::TARGET_NOTE_LINE, OPTIONAL, "0"}}},
        {QT_TRANSLATE_NOOP("CSV", "KeePass (CSV 1.x, also written by KeePass 2)"),
         LAYOUT_COLUMNS,
         true,
         {{"Account", F::TARGET_NAME, REQUIRED},
          {"Login Name", F::TARGET_LOGIN, REQUIRED},
          {"Password", F::TARGET_PASSWORD, REQUIRED},
          {"Web Site", F::TARGET_URL, REQUIRED},
          {"Comments", F::TARGET_NOTE, REQUIRED},
          {"Group", F::TARGET_FOLDER, OPTIONAL},
          {"Group Tree", F::TARGET_FOLDER, OPTIONAL}}},
        {"1Password",
         LAYOUT_COLUMNS,
         false,
         {{"Title", F::TARGET_NAME, REQUIRED},
          {"Url", F::TARGET_URL, REQUIRED},
          {"Username", F::TARGET_LOGIN, REQUIRED},
          {"Password", F::TARGET_PASSWORD, REQUIRED},
          {"OTPAuth", F::TARGET_NOTE_LINE, REQUIRED},
          {"Favorite", F::TARGET_NOTE_LINE, REQUIRED, "false"},
          {"Archived", F::TARGET_NOTE_LINE, REQUIRED, "false"},
          {"Tags", F::TARGET_NOTE_LINE, REQUIRED},
          {"Notes", F::TARGET_NOTE, REQUIRED}}},
        {"LastPass",
         LAYOUT_COLUMNS,
         false,
         {{"url", F::TARGET_URL, REQUIRED},
          {"username", F::TARGET_LOGIN, REQUIRED},
          {"password", F::TARGET_PASSWORD, REQUIRED},
          {"totp", F::TARGET_NOTE_LINE, OPTIONAL},
          {"extra", F::TARGET_NOTE, REQUIRED},
          {"name", F::TARGET_NAME, REQUIRED},
          {"grouping", F::TARGET_FOLDER, REQUIRED},
          {"fav", F::TARGET_NOTE_LINE, REQUIRED, "0"}}},
        {"Dashlane",
         LAYOUT_COLUMNS,
         false,
         {{"username", F::TARGET_LOGIN, REQUIRED},
          {"username2", F::TARGET_LOGIN, REQUIRED},
          {"username3", F::TARGET_LOGIN, REQUIRED},
          {"title", F::TARGET_NAME, REQUIRED},
          {"password", F::TARGET_PASSWORD, REQUIRED},
          {"note", F::TARGET_NOTE, REQUIRED},
          {"url", F::TARGET_URL, REQUIRED},
          {"category", F::TARGET_FOLDER, REQUIRED}}},
        {"Proton Pass",
         LAYOUT_COLUMNS,
         false,
         {{"type", F::TARGET_NOTE_LINE, OPTIONAL, "login"},
          {"name", F::TARGET_NAME, REQUIRED},
          {"url", F::TARGET_URL, REQUIRED},
          {"username", F::TARGET_LOGIN, REQUIRED},
          {"email", F::TARGET_LOGIN, REQUIRED},
          {"password", F::TARGET_PASSWORD, REQUIRED},
          {"note", F::TARGET_NOTE, REQUIRED},
          {"totp", F::TARGET_NOTE_LINE, REQUIRED},
          {"vault", F::TARGET_FOLDER, REQUIRED}}},
        {"NordPass",
         LAYOUT_COLUMNS,
         false,
         {{"name", F::TARGET_NAME, REQUIRED},
          {"url", F::TARGET_URL, REQUIRED},
          {"username", F::TARGET_LOGIN, REQUIRED},
          {"email", F::TARGET_LOGIN, OPTIONAL},
          {"password", F::TARGET_PASSWORD, REQUIRED},
          {"note", F::TARGET_NOTE, REQUIRED},
          {"cardholdername", F::TARGET_NOTE_LINE, REQUIRED},
          {"cardnumber", F::TARGET_NOTE_LINE, REQUIRED},
          {"cvc", F::TARGET_NOTE_LINE, REQUIRED},
          {"expirydate", F::TARGET_NOTE_LINE, REQUIRED},
          {"zipcode", F::TARGET_NOTE_LINE, REQUIRED},
          {"folder", F::TARGET_FOLDER, REQUIRED},
          {"type", F::TARGET_NOTE_LINE, OPTIONAL, "password"}}},
        // Each line holds the item's own fields as (label, value) pairs; the labels below are those
        // of a login item, anything else goes to the note.
        {"Enpass",
         LAYOUT_LABELLED_PAIRS,
         false,
         {{"Title", F::TARGET_NAME, REQUIRED},
          {"Field", F::TARGET_NOTE_LINE, REQUIRED},
          {"Value", F::TARGET_NOTE_LINE, REQUIRED},
          {"Note", F::TARGET_NOTE, OPTIONAL},
          {"Username", F::TARGET_LOGIN, OPTIONAL},
          {"Login", F::TARGET_LOGIN, OPTIONAL},
          {"E-mail", F::TARGET_LOGIN, OPTIONAL},
          {"Email", F::TARGET_LOGIN, OPTIONAL},
          {"Password", F::TARGET_PASSWORD, OPTIONAL},
          {"Website", F::TARGET_URL, OPTIONAL},
          {"URL", F::TARGET_URL, OPTIONAL}}},
    };
    return formats;
}

int CSVFormats::recognize(const QStringList& columnNames)
{
    const QList<Format>& formats = getKnownFormats();
    int bestFormatIndex = -1;
    int bestRequiredCount = 0;
    for (int formatIndex = 0; formatIndex < formats.size(); formatIndex++)
    {
        int requiredCount = 0;
        bool isEveryRequiredNamed = true;
        for (const Column& column : formats[formatIndex].columns)
        {
            if (!column.isRequired)
                continue;
            requiredCount++;
            const QLatin1String name(column.name);
            isEveryRequiredNamed =
                isEveryRequiredNamed &&
                std::any_of(columnNames.begin(), columnNames.end(),
                            [&name](const QString& columnName)
                            { return columnName.trimmed().compare(name, Qt::CaseInsensitive) == 0; });
        }
        // The most specific wins: a file naming every column of one program also names those of a
        // program whose export is a subset of it.
        if (isEveryRequiredNamed && requiredCount > bestRequiredCount)
        {
            bestFormatIndex = formatIndex;
            bestRequiredCount = requiredCount;
        }
    }
    return bestFormatIndex;
}

bool CSVFormats::isLikelyColumnNames(const QStringList& fields)
{
    bool isPasswordNamed = false;
    int namedCount = 0;
    for (const QString& field : fields)
    {
        for (const Format& format : getKnownFormats())
        {
            const int columnIndex = findColumn(format, field);
            if (columnIndex < 0)
                continue;
            namedCount++;
            isPasswordNamed = isPasswordNamed || format.columns[columnIndex].target == TARGET_PASSWORD;
            break;
        }
    }
    return isPasswordNamed && namedCount >= 2;
}

CSVFormats::ColumnPlan CSVFormats::planColumns(int formatIndex, const QStringList& columnNames)
{
    ColumnPlan plan;
    plan.formatIndex = formatIndex;
    plan.columnNames = columnNames;
    const Format& format = getKnownFormats()[formatIndex];
    for (const QString& columnName : columnNames)
        plan.columnIndexes.append(findColumn(format, columnName));
    return plan;
}

void CSVFormats::mapRow(const ColumnPlan& plan, const QStringList& fields, Record* pointerRecord)
{
    const Format& format = getKnownFormats()[plan.formatIndex];
    // Values and labels read off the line, in the order they are written in.
    QList<Candidate> candidates;
    if (format.layout == LAYOUT_COLUMNS)
    {
        for (int index = 0; index < fields.size(); index++)
            candidates.append({plan.columnIndexes.value(index, -1), plan.columnNames.value(index).trimmed(),
                               &fields[index]});
    }
    else if (!fields.isEmpty())
    {
        candidates.append(
            {findColumn(format, plan.columnNames.value(0)), plan.columnNames.value(0), &fields[0]});
        int index = 1;
        for (; index + 1 < fields.size(); index += 2)
            candidates.append(
                {findColumn(format, fields[index]), fields[index].trimmed(), &fields[index + 1]});
        // An odd field out at the end is the note.
        if (index < fields.size())
            candidates.append(
                {findColumn(format, QStringLiteral("Note")), QStringLiteral("Note"), &fields[index]});
    }

    // A value that says nothing counts as no value.
    for (Candidate& candidate : candidates)
    {
        const char* emptyValue =
            candidate.columnIndex >= 0 ? format.columns[candidate.columnIndex].emptyValue : nullptr;
        if (emptyValue != nullptr &&
            candidate.pointerValue->compare(QLatin1String(emptyValue), Qt::CaseInsensitive) == 0)
            candidate.pointerValue = nullptr;
        else if (candidate.pointerValue->isEmpty())
            candidate.pointerValue = nullptr;
    }

    // Each field from the candidate of its target that comes first in the table.
    QList<bool> isUsed(candidates.size(), false);
    const auto fill = [&](Target target, QString* pointerField)
    {
        int best = -1;
        int bestColumnIndex = INT_MAX;
        for (int index = 0; index < candidates.size(); index++)
        {
            const Candidate& candidate = candidates[index];
            if (candidate.pointerValue != nullptr && candidate.columnIndex >= 0 &&
                format.columns[candidate.columnIndex].target == target &&
                candidate.columnIndex < bestColumnIndex)
            {
                best = index;
                bestColumnIndex = candidate.columnIndex;
            }
        }
        if (best < 0)
            return;
        *pointerField = *candidates[best].pointerValue;
        isUsed[best] = true;
    };
    for (int target = TARGET_NAME; target < FIELD_COUNT; target++)
        fill(static_cast<Target>(target), &pointerRecord->fields[target]);
    fill(TARGET_FOLDER, &pointerRecord->folder);

    // Everything else is kept, in the file's order, one "column: value" line each.
    QString& note = pointerRecord->fields[TARGET_NOTE];
    // Sized once, so that no grown copy of the note is left behind unwiped.
    qsizetype noteSize = note.size();
    for (int index = 0; index < candidates.size(); index++)
    {
        if (!isUsed[index] && candidates[index].pointerValue != nullptr)
            noteSize += 1 + candidates[index].label.size() + 2 + candidates[index].pointerValue->size();
    }
    if (noteSize > note.size())
        note.reserve(noteSize);
    for (int index = 0; index < candidates.size(); index++)
    {
        if (isUsed[index] || candidates[index].pointerValue == nullptr)
            continue;
        if (!note.isEmpty())
            note += QLatin1Char('\n');
        note += candidates[index].label;
        note += QStringLiteral(": ");
        note += *candidates[index].pointerValue;
    }

    QString& name = pointerRecord->fields[TARGET_NAME];
    if (name.isEmpty())
    {
        const QString& url = pointerRecord->fields[TARGET_URL];
        QString host = QUrl(url).host();
        if (host.isEmpty())
            host = QUrl(QStringLiteral("https://") + url).host();
        name = host.isEmpty() ? pointerRecord->fields[TARGET_LOGIN] : host;
    }
}
