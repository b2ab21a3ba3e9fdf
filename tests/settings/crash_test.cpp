#include "settings/settings_format.h"
#include "settings/settings_sections.h"
#include "settings/settings_store.h"
#include "test_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zel::settings;

namespace {

// Big enough that a save takes a while.
QString version(char mark) {
    return QString(200'000, QLatin1Char(mark));
}

// Runs in the child: once the parent has written to `go`, saves the two versions in turn until
// killed.
[[noreturn]] void saveForever(const QString& path, int go) {
    alarm(60);  // never outlive a parent that failed to kill
    SettingsStore store(path);
    store.load({});
    char start = 0;
    if (read(go, &start, 1) != 1) _exit(4);
    for (int round = 0;; ++round) {
        SettingsHandle handle = 0;
        if (!store.OpenSettingsKey(sectionPath("Files"), handle)) _exit(2);
        store.SetTextValue(handle, "Data Table", version(round % 2 ? 'b' : 'a'));
        if (!store.CloseSettingsKey(handle)) _exit(3);
    }
}

// A child that saves forever, and the parent's end of the pipe that starts it.
struct Saver {
    pid_t pid = -1;
    int go = -1;

    explicit Saver(const QString& path) {
        int ends[2];
        if (pipe(ends) != 0) return;
        pid = fork();
        if (pid == 0) {
            close(ends[1]);
            saveForever(path, ends[0]);
        }
        close(ends[0]);
        go = ends[1];
    }
    ~Saver() {
        if (go >= 0) close(go);
        if (pid > 0) kill();
    }
    bool start() const { return write(go, "g", 1) == 1; }
    // True when the child died of the kill rather than ending on its own.
    bool kill() {
        int status = 0;
        const bool killed = ::kill(pid, SIGKILL) == 0 && waitpid(pid, &status, 0) == pid &&
                            WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
        pid = -1;
        return killed;
    }
};

// The temporary file of the child's first save, made a named pipe before the child starts: the
// save then stops inside its write, with the file still open, until the parent reads from the
// pipe. The parent kills it there, deterministically in the middle of a save.
class SaveTrap {
public:
    SaveTrap(const QString& path, pid_t saver)
        : name_(QFile::encodeName(path) + ".tmp-" + QByteArray::number(saver)) {}
    ~SaveTrap() {
        if (fd_ >= 0) close(fd_);
        unlink(name_.constData());
    }
    bool set() { return mkfifo(name_.constData(), 0600) == 0; }
    // Waits (at most 30 s) until the save has written into the trap.
    bool caught() {
        fd_ = open(name_.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        pollfd readable{fd_, POLLIN, 0};
        char byte = 0;
        return fd_ >= 0 && poll(&readable, 1, 30'000) == 1 && read(fd_, &byte, 1) == 1;
    }

private:
    QByteArray name_;
    int fd_ = -1;
};

class SettingsCrash : public ::testing::Test {
protected:
    void SetUp() override {
        SettingsData initial;
        initial[sectionPath("Files")]["Data Table"] = version('a');
        ASSERT_TRUE(writeBytes(path, writeSettings(initial)));
    }

    QTemporaryDir dir;
    const QString path = dir.filePath("settings.ini");
};

}  // namespace

// A kill inside the write leaves the file as it was; the next load clears away the temporary
// file a killed save leaves behind.
TEST_F(SettingsCrash, KillInsideASaveLeavesTheFileAsItWas) {
    pid_t killed = -1;
    for (int kill = 0; kill < 5; ++kill) {
        const QByteArray before = readBytes(path);
        Saver saver(path);
        ASSERT_GT(killed = saver.pid, 0);
        SaveTrap trap(path, saver.pid);
        ASSERT_TRUE(trap.set());
        ASSERT_TRUE(saver.start());
        ASSERT_TRUE(trap.caught()) << "the save never reached its temporary file";
        ASSERT_TRUE(saver.kill()) << "child ended on its own";
        EXPECT_EQ(readBytes(path), before) << "after kill " << kill;
    }
    ASSERT_TRUE(writeBytes(path + ".tmp-" + QString::number(killed), "half a save"));
    SettingsStore store(path);
    EXPECT_EQ(store.load({}).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList("settings.ini"));
}
