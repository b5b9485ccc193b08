#include "media/RandomListFiles.h"

#include <QFile>
#include <QSaveFile>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>
#include <climits>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>

namespace zarn::RandomListFiles {

namespace {

// Which of the collected kinds a name has, or -1.
int kindOf(const char* name, size_t length)
{
    if (length < 5)
        return -1;
    const char* ext = name + length - 4;
    if (ext[0] != '.')
        return -1;
    char lower[3];
    for (int i = 0; i < 3; ++i)
        lower[i] = char(ext[i + 1] >= 'A' && ext[i + 1] <= 'Z' ? ext[i + 1] + ('a' - 'A') : ext[i + 1]);
    static const char* const kinds[] = {"mp3", "wma", "ogg"};
    for (int k = 0; k < 3; ++k)
        if (std::equal(lower, lower + 3, kinds[k]))
            return k;
    return -1;
}

struct FolderId {
    dev_t dev;
    ino_t ino;
    bool operator==(const FolderId&) const = default;
};
size_t qHash(const FolderId& id, size_t seed = 0) { return ::qHash(quint64(id.ino), seed) ^ ::qHash(quint64(id.dev)); }

class Walker {
public:
    Walker(const std::atomic<bool>& stop, const std::function<void(int)>& progress)
        : stop_(stop), progress_(progress) {}

    void folder(const QByteArray& path) // path ends in "/"
    {
        struct stat st {};
        if (::stat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode)) {
            result.rootUnreadable = true;
            return;
        }
        firstVisit(st);
        if (!walk(path)) {
            --result.unreadableFolders;
            result.rootUnreadable = true;
        }
    }

    SearchResult result;
    QStringList buckets[3];

private:
    struct Entry {
        QByteArray name;
        unsigned char type;
        ino_t ino;
    };

    static bool isAscii(const QByteArray& name)
    {
        return std::all_of(name.begin(), name.end(), [](char c) { return (unsigned char)c < 0x80; });
    }

    // False when the folder could not be opened.
    bool walk(const QByteArray& path)
    {
        DIR* dir = ::opendir(path.constData());
        if (!dir) {
            ++result.unreadableFolders;
            return false;
        }
        struct stat self {};
        const dev_t dev = ::fstat(::dirfd(dir), &self) == 0 ? self.st_dev : 0;
        std::vector<Entry> entries;
        while (const dirent* e = ::readdir(dir)) {
            if (e->d_name[0] == '.' && (e->d_name[1] == 0 || (e->d_name[1] == '.' && e->d_name[2] == 0)))
                continue;
            entries.push_back({QByteArray(e->d_name), e->d_type, e->d_ino});
        }
        ::closedir(dir);
        std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });

        std::vector<QByteArray> folders;
        for (const Entry& e : entries) {
            if (stop_.load(std::memory_order_relaxed)) {
                result.stopped = true;
                return true;
            }
            QByteArray full = path + e.name;
            bool isDir = e.type == DT_DIR;
            bool isFile = e.type == DT_REG;
            struct stat st {};
            if (e.type == DT_LNK || e.type == DT_UNKNOWN) {
                // A link counts as what it points to; one that points nowhere is skipped.
                if (::stat(full.constData(), &st) != 0)
                    continue;
                isDir = S_ISDIR(st.st_mode);
                isFile = S_ISREG(st.st_mode);
            }
            if (!isDir && !isFile)
                continue;
            if (!isAscii(e.name) && QFile::encodeName(QFile::decodeName(e.name)) != e.name) {
                ++result.unusableNames;
                continue;
            }
            const int kind = kindOf(e.name.constData(), size_t(e.name.size()));
            if (kind >= 0) {
                buckets[kind].append(QFile::decodeName(full));
                if ((++found_ & 1023) == 0 && progress_)
                    progress_(found_);
            }
            if (isDir) {
                // A plain sub-folder is known by its inode on this folder's device; links were stat'ed above.
                if (e.type == DT_DIR) {
                    st.st_dev = dev;
                    st.st_ino = e.ino;
                }
                if (firstVisit(st))
                    folders.push_back(full + '/');
            }
        }
        for (const QByteArray& sub : folders) {
            walk(sub);
            if (result.stopped)
                break;
        }
        return true;
    }
    // False for a folder already searched (reached again through a link).
    bool firstVisit(const struct stat& st)
    {
        const FolderId id{st.st_dev, st.st_ino};
        if (visited_.contains(id))
            return false;
        visited_.insert(id);
        return true;
    }

    const std::atomic<bool>& stop_;
    const std::function<void(int)>& progress_;
    QSet<FolderId> visited_;
    int found_ = 0;

};

} // namespace

SearchResult search(const QString& directory, const std::atomic<bool>& stop, const std::function<void(int)>& progress)
{
    Walker walker(stop, progress);
    QByteArray root = QFile::encodeName(directory);
    if (!root.endsWith('/'))
        root += '/';
    walker.folder(root);
    SearchResult result = std::move(walker.result);
    for (QStringList& bucket : walker.buckets)
        result.found += bucket;
    return result;
}

ReadResult read(const QString& path, const std::atomic<bool>& stop)
{
    ReadResult result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.openFailed = true;
        result.error = file.errorString();
        return result;
    }
    QByteArray line;
    bool overlong = false;
    auto take = [&] {
        if (line.endsWith('\r'))
            line.chop(1);
        // The cheap tests first: most lines of a garbage file fail them undecoded.
        bool usable = !overlong && line.startsWith('/') && !line.contains('\0');
        QString text;
        if (usable) {
            QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            text = utf8(line);
            struct stat st {};
            usable = !utf8.hasError() && ::stat(line.constData(), &st) == 0;
        }
        if (usable)
            result.entries.append(text);
        else
            ++result.skipped;
        line.clear();
        overlong = false;
    };
    char chunk[65536];
    for (;;) {
        if (stop.load(std::memory_order_relaxed))
            return result;
        const qint64 n = file.read(chunk, sizeof chunk);
        if (n < 0) {
            result.readFailed = true;
            result.error = file.errorString();
            return result;
        }
        if (n == 0)
            break;
        const char* p = chunk;
        const char* end = chunk + n;
        while (p < end) {
            const char* nl = static_cast<const char*>(memchr(p, '\n', size_t(end - p)));
            const char* stopAt = nl ? nl : end;
            // A path can be no longer than the system allows: the rest of such a line is dropped unread.
            if (!overlong) {
                line.append(p, stopAt - p);
                if (line.size() > PATH_MAX + 1) {
                    overlong = true;
                    line.clear();
                }
            }
            if (!nl)
                break;
            take();
            p = nl + 1;
        }
    }
    if (!line.isEmpty() || overlong)
        take();
    return result;
}

bool write(const QString& path, const QStringList& entries, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    QByteArray block;
    block.reserve(1 << 16);
    for (const QString& entry : entries) {
        block += entry.toUtf8();
        block += "\r\n";
        if (block.size() >= (1 << 16)) {
            file.write(block);
            block.clear();
        }
    }
    file.write(block);
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace zarn::RandomListFiles
