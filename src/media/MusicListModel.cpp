#include "media/MusicListModel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace zarn {

namespace {

const QString Mark = QString::fromUtf8(MusicListModel::DirectoryMark);

bool hasWildcard(const QString& s)
{
    return s.contains(QLatin1Char('*')) || s.contains(QLatin1Char('?'));
}

// A name has an extension when a dot stands before its last character.
bool hasExtension(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 && dot < name.size() - 1;
}

// "*" any run, "?" one character; both strings already case-folded.
bool wildcardMatch(QStringView pattern, QStringView name)
{
    qsizetype p = 0, n = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == QLatin1Char('*')) {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == QLatin1Char('?') || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}

// A folded pattern; one ending in "." asks for a name without an extension.
struct Pattern {
    QString body;
    bool noExtension = false;
};

Pattern compile(const QString& pattern)
{
    Pattern p{pattern.toCaseFolded()};
    if (p.body.endsWith(QLatin1Char('.'))) {
        p.body.chop(1);
        p.noExtension = true;
    }
    return p;
}

bool matches(const Pattern& p, const QString& name, const QString& folded)
{
    if (p.noExtension && hasExtension(name))
        return false;
    return wildcardMatch(p.body, folded);
}

enum class Kind { Directory, File, Other };

Kind kindOf(int dirFd, const char* name, unsigned char type)
{
    switch (type) {
    case DT_DIR: return Kind::Directory;
    case DT_REG: return Kind::File;
    case DT_LNK:
    case DT_UNKNOWN: break;
    default: return Kind::Other;
    }
    struct stat st;
    if (fstatat(dirFd, name, &st, 0) != 0)
        return Kind::Other; // a dangling link
    if (S_ISDIR(st.st_mode))
        return Kind::Directory;
    return S_ISREG(st.st_mode) ? Kind::File : Kind::Other;
}

} // namespace

MusicListModel::MusicListModel(QObject* parent)
    : QObject(parent)
{
}

QString MusicListModel::resolvedPath(const QString& path) const
{
    const QString base = directory_.isEmpty() ? QDir::currentPath() : directory_;
    QString out = QDir::cleanPath(QDir::isAbsolutePath(path) ? path
                                  : path.isEmpty()            ? base
                                                              : base + QLatin1Char('/') + path);
    // cleanPath keeps the ".." that climb above "/".
    while (out.startsWith(QLatin1String("/..")) && (out.size() == 3 || out[3] == QLatin1Char('/')))
        out.remove(0, 3);
    return out.isEmpty() ? QStringLiteral("/") : out;
}

QString MusicListModel::joined(const QString& name) const
{
    if (directory_.endsWith(QLatin1Char('/')))
        return directory_ + name;
    return directory_ + QLatin1Char('/') + name;
}

bool MusicListModel::matchesPattern(const QString& name, const QString& pattern)
{
    return matches(compile(pattern), name, name.toCaseFolded());
}

void MusicListModel::relist()
{
    const bool hadHighlight = highlighted_ >= 0;
    entries_.clear();
    highlighted_ = -1;

    QVector<Pattern> patterns;
    for (const QString& p : mask_.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        patterns << compile(p);

    struct Sorted {
        Entry entry;
        QString key;
    };
    std::vector<Sorted> found;
    if (DIR* dir = patterns.isEmpty() ? nullptr : opendir(QFile::encodeName(directory_).constData())) {
        const int fd = dirfd(dir);
        while (const dirent* e = readdir(dir)) {
            const char* raw = e->d_name;
            if (raw[0] == '.' && (raw[1] == 0 || (raw[1] == '.' && raw[2] == 0)))
                continue;
            // Names that are not UTF-8 are shown with replacement characters.
            const QString name = QFile::decodeName(raw);
            const QString folded = name.toCaseFolded();
            if (std::none_of(patterns.begin(), patterns.end(), [&](const Pattern& p) { return matches(p, name, folded); }))
                continue;
            const Kind kind = kindOf(fd, raw, e->d_type);
            if (kind == Kind::Other)
                continue;
            const bool isDir = kind == Kind::Directory;
            found.push_back({{isDir ? Mark + name : name, isDir}, folded});
        }
        closedir(dir);
    }
    // Directories first, as their mark sorts before every letter; then by name, letter
    // case ignored, names that differ only in case in a fixed order.
    std::sort(found.begin(), found.end(), [](const Sorted& a, const Sorted& b) {
        if (a.entry.directory != b.entry.directory)
            return a.entry.directory;
        if (const int c = a.key.compare(b.key); c != 0)
            return c < 0;
        return a.entry.text < b.entry.text;
    });
    entries_.reserve(qsizetype(found.size()));
    for (Sorted& s : found)
        entries_.push_back(std::move(s.entry));

    emit changed();
    if (hadHighlight)
        emit highlightChanged();
}

void MusicListModel::setDirectory(const QString& path)
{
    const QString resolved = resolvedPath(path);
    if (resolved == directory_)
        return;
    directory_ = resolved;
    relist();
}

void MusicListModel::setMask(const QString& masks)
{
    if (masks == mask_)
        return;
    mask_ = masks;
    relist();
}

void MusicListModel::setDirectoryAndMask(const QString& path, const QString& masks)
{
    const QString resolved = resolvedPath(path);
    if (resolved == directory_ && masks == mask_)
        return;
    directory_ = resolved;
    mask_ = masks;
    relist();
}

QString MusicListModel::selectedFilePath() const
{
    if (highlighted_ < 0 || highlighted_ >= count())
        return {};
    return joined(entries_[highlighted_].text);
}

bool MusicListModel::setHighlighted(int index)
{
    if (index < 0 || index >= count())
        return false;
    if (index != highlighted_) {
        highlighted_ = index;
        emit highlightChanged();
    }
    return true;
}

void MusicListModel::highlightName(const QString& fileName)
{
    // Two names may differ only in letter case here: the exact one wins.
    int loose = -1;
    for (int i = 0; i < count(); ++i) {
        const QString& text = entries_[i].text;
        if (text == fileName) {
            setHighlighted(i);
            return;
        }
        if (loose < 0 && text.compare(fileName, Qt::CaseInsensitive) == 0)
            loose = i;
    }
    if (loose >= 0)
        setHighlighted(loose);
}

bool MusicListModel::isDirectory(int index) const
{
    return index >= 0 && index < count() && entries_[index].directory;
}

QString MusicListModel::entryPath(int index) const
{
    if (index < 0 || index >= count())
        return {};
    const Entry& e = entries_[index];
    return joined(e.directory ? e.text.mid(Mark.size()) : e.text);
}

void MusicListModel::GoToPath(const QString& path)
{
    if (path.isEmpty() || path == selectedFilePath())
        return;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    QString dirPart = slash < 0 ? QString() : path.left(slash == 0 ? 1 : slash);
    QString filePart = path.mid(slash + 1);
    const auto join = [](const QString& dir, const QString& name) {
        return dir.isEmpty() ? name : dir.endsWith(QLatin1Char('/')) ? dir + name : dir + QLatin1Char('/') + name;
    };
    // A last component that names no file is one more directory level ("..", a
    // directory, or something that does not exist).
    if (!filePart.isEmpty() && !hasWildcard(filePart)) {
        const QFileInfo info(resolvedPath(join(dirPart, filePart)));
        if (!info.exists() || info.isDir()) {
            dirPart = join(dirPart, filePart);
            filePart.clear();
        }
    }
    setDirectory(dirPart);
    if (hasWildcard(filePart)) {
        setMask(filePart);
        return;
    }
    if (filePart.isEmpty())
        return;
    const auto shown = [this, &filePart] {
        return highlighted_ >= 0 && entries_[highlighted_].text.compare(filePart, Qt::CaseInsensitive) == 0;
    };
    highlightName(filePart);
    if (!shown()) {
        // The mask hides it: the list shows that one file.
        setMask(filePart);
        highlightName(filePart);
    }
}

} // namespace zarn
