#include "privateprofile.h"

#include "windows1252.h"

#include <optional>
#include <vector>

namespace {

// One line of the file: its text and where its bytes lie (the terminator is not part of `end`).
struct Line {
    QString text;
    qsizetype begin = 0;
    qsizetype end = 0;
    qsizetype next = 0;
    bool terminated = false; // ends with a line feed
};

struct KeyLine {
    QString name;
    QString value;
};

std::vector<Line> splitLines(const QByteArray &file)
{
    std::vector<Line> lines;
    qsizetype begin = 0;
    while (begin < file.size()) {
        qsizetype lf = file.indexOf('\n', begin);
        const qsizetype next = lf < 0 ? file.size() : lf + 1;
        qsizetype end = lf < 0 ? file.size() : lf;
        if (end > begin && file[end - 1] == '\r')
            --end;
        lines.push_back(
            {Windows1252::toText(QByteArrayView(file).sliced(begin, end - begin)), begin, end, next, lf >= 0});
        begin = next;
    }
    return lines;
}

// Blanks as the platform's profile reader counts them, including a stray CR and the old end-of-file mark.
bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\v' || c == u'\f' || c == u'\x1a';
}

QStringView trimmed(QStringView s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.sliced(b, e - b);
}

std::optional<QString> sectionName(const QString &line)
{
    const QStringView t = trimmed(line);
    if (!t.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = t.lastIndexOf(u']');
    if (close < 0)
        return std::nullopt; // not a section header, and no key line either
    return trimmed(t.sliced(1, close - 1)).toString();
}

std::optional<KeyLine> keyLine(const QString &line)
{
    const QStringView t = trimmed(line);
    if (t.startsWith(u';') || t.startsWith(u'['))
        return std::nullopt;
    const qsizetype eq = t.indexOf(u'=');
    if (eq < 0)
        return std::nullopt;
    return KeyLine{trimmed(t.first(eq)).toString(), trimmed(t.sliced(eq + 1)).toString()};
}

bool sameName(QStringView a, QStringView b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// Indexes of the first section of that name: its header line, and the line after its last line.
struct SectionSpan {
    std::size_t header = 0;
    std::size_t end = 0;
};

std::optional<SectionSpan> findSection(const std::vector<Line> &lines, QStringView section)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = sectionName(lines[i].text);
        if (!name || !sameName(*name, section))
            continue;
        std::size_t end = i + 1;
        while (end < lines.size() && !sectionName(lines[end].text))
            ++end;
        return SectionSpan{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> findKey(const std::vector<Line> &lines, const SectionSpan &span, QStringView key)
{
    for (std::size_t i = span.header + 1; i < span.end; ++i) {
        const auto k = keyLine(lines[i].text);
        if (k && sameName(k->name, key))
            return i;
    }
    return std::nullopt;
}

QString withoutQuotes(const QString &value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        return value.sliced(1, value.size() - 2);
    return value;
}

QString singleLine(QStringView value)
{
    QString v = value.toString();
    v.replace(u'\r', u' ');
    v.replace(u'\n', u' ');
    return v;
}

QByteArray encodedLine(QStringView key, QStringView value)
{
    return Windows1252::fromText(key.toString() + u'=' + singleLine(value));
}

} // namespace

namespace PrivateProfile {

QString readValue(const QByteArray &file, QStringView section, QStringView key, bool *found)
{
    const std::vector<Line> lines = splitLines(file);
    std::optional<std::size_t> index;
    if (const auto span = findSection(lines, section))
        index = findKey(lines, *span, key);
    *found = index.has_value();
    return index ? withoutQuotes(keyLine(lines[*index].text)->value) : QString();
}

QByteArray writeValue(const QByteArray &file, QStringView section, QStringView key, QStringView value)
{
    const std::vector<Line> lines = splitLines(file);
    const auto span = findSection(lines, section);

    if (!span) {
        QByteArray out = file;
        if (!out.isEmpty() && !out.endsWith('\n'))
            out += "\r\n";
        out += '[' + Windows1252::fromText(section) + "]\r\n" + encodedLine(key, value) + "\r\n";
        return out;
    }

    if (const auto index = findKey(lines, *span, key)) {
        // Replace the line's text, keeping the key's spelling and the line's own terminator.
        const Line &line = lines[*index];
        const QString name = keyLine(line.text)->name;
        return file.first(line.begin) + encodedLine(name, value) + file.sliced(line.end);
    }

    std::size_t last = span->end - 1;
    while (last > span->header && trimmed(lines[last].text).isEmpty())
        --last;
    const Line &after = lines[last];
    QByteArray out = file.first(after.next);
    if (!after.terminated)
        out += "\r\n"; // the file ended without a line break
    out += encodedLine(key, value) + "\r\n";
    out += file.sliced(after.next);
    return out;
}

} // namespace PrivateProfile
