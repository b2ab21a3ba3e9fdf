// The folder that holds one symbol database: a fresh "zelmon-<pid>-XXXXXX" under the user's
// runtime folder (else the cache folder), so neither two monitors nor two databases in one
// process ever touch each other's files. The owner holds a lock on the folder's lock file for
// as long as the folder is in use, which tells other monitors, in any PID namespace, that it
// is not abandoned.
#pragma once

#include <QString>

namespace zel::symbols {

class DatabaseFolder {
public:
    // An empty base means $XDG_RUNTIME_DIR, else "zelmon" in the user's cache folder.
    explicit DatabaseFolder(QString base = {});
    ~DatabaseFolder();
    DatabaseFolder(const DatabaseFolder&) = delete;
    DatabaseFolder& operator=(const DatabaseFolder&) = delete;

    // Makes the folder unless it exists, first removing the folders of monitors that ended
    // without removing their own. False with the reason in `error`.
    bool create(QString& error);
    // Deletes the folder with everything in it; true when it is gone.
    bool remove();
    bool exists() const { return !path_.isEmpty(); }
    QString path() const { return path_; }

private:
    void removeAbandoned() const;
    void unlock();

    QString base_;
    QString path_;
    int lock_ = -1;  // the open, locked lock file while the folder exists
};

}  // namespace zel::symbols
