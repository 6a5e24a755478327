#include "privateprofile.h"

#include "windows1252.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QtEndian>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

struct Mark {
    QStringConverter::Encoding encoding;
    QByteArrayView bytes;
};
constexpr Mark marks[] = {{QStringConverter::Utf8, "\xEF\xBB\xBF"},
                          {QStringConverter::Utf16LE, "\xFF\xFE"},
                          {QStringConverter::Utf16BE, "\xFE\xFF"}};

bool utf8Only(QByteArrayView bytes)
{
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; }))
        return false;
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8(bytes);
    return !utf8.hasError();
}

// The file's text: its encoding (none for Windows-1252), where it starts (after the mark), and its
// bytes, a UTF-16 file cut in the middle of a character completed with a zero byte so that
// characters stay aligned.
struct Text {
    std::optional<QStringConverter::Encoding> encoding;
    qsizetype start = 0;
    QByteArray bytes;

    explicit Text(const QByteArray &file) : bytes(file)
    {
        for (const Mark &mark : marks)
            if (file.startsWith(mark.bytes)) {
                encoding = mark.encoding;
                start = mark.bytes.size();
                break;
            }
        // Without a mark, text that only UTF-8 explains is UTF-8 (what editors write today) and is
        // written back as such; anything else stays Windows-1252.
        if (!encoding && utf8Only(file))
            encoding = QStringConverter::Utf8;
        if ((bytes.size() - start) % unit())
            bytes += '\0';
    }

    qsizetype unit() const
    {
        return encoding == QStringConverter::Utf16LE || encoding == QStringConverter::Utf16BE ? 2 : 1;
    }

    char16_t at(qsizetype i) const
    {
        const char *p = bytes.constData() + i;
        if (encoding == QStringConverter::Utf16LE)
            return qFromLittleEndian<quint16>(p);
        if (encoding == QStringConverter::Utf16BE)
            return qFromBigEndian<quint16>(p);
        return uchar(*p);
    }

    QString decode(qsizetype begin, qsizetype end) const
    {
        const QByteArrayView part = QByteArrayView(bytes).sliced(begin, end - begin);
        if (!encoding)
            return Windows1252::toText(part);
        // A mark at the start of a line is a character like any other.
        return QStringDecoder(*encoding, QStringConverter::Flag::ConvertInitialBom)(part);
    }

    QByteArray encode(QStringView text) const
    {
        if (!encoding)
            return Windows1252::fromText(text);
        // A lone surrogate becomes "?" in UTF-8, as in Windows-1252.
        if (*encoding == QStringConverter::Utf8)
            return text.toUtf8();
        return QStringEncoder(*encoding)(text);
    }
};

// One line of the file: its text and where its bytes lie (the terminator is not part of `end`).
struct Line {
    QString text;
    qsizetype begin = 0;
    qsizetype end = 0;
    qsizetype next = 0;
    bool terminated = false; // ends with CR LF, LF or CR
};

struct KeyLine {
    QString name;
    QString value;
};

std::vector<Line> splitLines(const Text &file)
{
    std::vector<Line> lines;
    const qsizetype unit = file.unit(), size = file.bytes.size();
    const auto breaks = [&](qsizetype i) { return file.at(i) == u'\r' || file.at(i) == u'\n'; };
    qsizetype begin = file.start;
    while (begin < size) {
        qsizetype end = begin;
        while (end < size && !breaks(end))
            end += unit;
        qsizetype next = end;
        if (end < size) {
            next += unit;
            if (file.at(end) == u'\r' && next < size && file.at(next) == u'\n')
                next += unit;
        }
        lines.push_back({file.decode(begin, end), begin, end, next, end < size});
        begin = next;
    }
    return lines;
}

// Blanks as the platform's profile reader counts them, including the old end-of-file mark.
bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f' || c == u'\x1a';
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

bool sameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

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
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
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

} // namespace

namespace PrivateProfile {

QString readValue(const QByteArray &file, QStringView section, QStringView key, bool *found)
{
    const std::vector<Line> lines = splitLines(Text(file));
    std::optional<std::size_t> index;
    if (const auto span = findSection(lines, section))
        index = findKey(lines, *span, key);
    *found = index.has_value();
    return index ? withoutQuotes(keyLine(lines[*index].text)->value) : QString();
}

QByteArray writeValue(const QByteArray &original, QStringView section, QStringView key, QStringView value)
{
    const Text file(original);
    const QByteArray &bytes = file.bytes;
    const std::vector<Line> lines = splitLines(file);
    const auto span = findSection(lines, section);
    const QByteArray lineEnd = file.encode(u"\r\n");
    const auto keyText = [&](QStringView name) {
        return file.encode(name.toString() + u'=' + singleLine(value));
    };

    if (!span) {
        QByteArray out = bytes;
        if (!lines.empty() && !lines.back().terminated)
            out += lineEnd;
        out += file.encode(u'[' + section.toString() + u']') + lineEnd + keyText(key) + lineEnd;
        return out;
    }

    if (const auto index = findKey(lines, *span, key)) {
        // Replace the line's text, keeping the key's spelling and the line's own terminator.
        const Line &old = lines[*index];
        return bytes.first(old.begin) + keyText(keyLine(old.text)->name) + bytes.sliced(old.end);
    }

    std::size_t last = span->end - 1;
    while (last > span->header && trimmed(lines[last].text).isEmpty())
        --last;
    const Line &after = lines[last];
    QByteArray out = bytes.first(after.next);
    if (!after.terminated)
        out += lineEnd; // the file ended without a line break
    out += keyText(key) + lineEnd;
    out += bytes.sliced(after.next);
    return out;
}

} // namespace PrivateProfile
