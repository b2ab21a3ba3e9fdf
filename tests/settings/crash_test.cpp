#include "settings/settings_format.h"
#include "settings/settings_sections.h"
#include "settings/settings_store.h"
#include "test_files.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zel::settings;

namespace {

// Big enough that a save takes a while, so kills land in the middle of writing.
QString version(char mark) {
    return QString(200'000, QLatin1Char(mark));
}

// Runs in the child: saves the two versions in turn until killed. Tells the parent through
// `ready` once the first save has started.
[[noreturn]] void saveForever(const QString& path, int ready) {
    alarm(60);  // never outlive a parent that failed to kill
    SettingsStore store(path);
    store.load({});
    (void)!write(ready, "r", 1);
    for (int round = 0;; ++round) {
        SettingsHandle handle = 0;
        if (!store.OpenSettingsKey(sectionPath("Files"), handle)) _exit(2);
        store.SetTextValue(handle, "Data Table", version(round % 2 ? 'b' : 'a'));
        if (!store.CloseSettingsKey(handle)) _exit(3);
    }
}

}  // namespace

TEST(SettingsCrash, KillDuringSaveLeavesTheOldOrTheNewFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.ini");
    SettingsData initial;
    initial[sectionPath("Files")]["Data Table"] = version('a');
    ASSERT_TRUE(writeBytes(path, writeSettings(initial)));

    std::mt19937 random(12345);
    int killedMidSave = 0;
    for (int kill = 0; kill < 50; ++kill) {
        int pipeEnds[2];
        ASSERT_EQ(pipe(pipeEnds), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(pipeEnds[0]);
            saveForever(path, pipeEnds[1]);
        }
        close(pipeEnds[1]);
        char signal = 0;
        ASSERT_EQ(read(pipeEnds[0], &signal, 1), 1);
        close(pipeEnds[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 20'000));
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "child ended on its own";

        killedMidSave += !QDir(dir.path()).entryList({"settings.ini.tmp-*"}, QDir::Files).isEmpty();
        const ReadResult result = readSettings(readBytes(path));
        ASSERT_FALSE(result.error)
            << "after kill " << kill << ": " << result.error->text().toStdString();
        const SettingsValue stored = result.data.at(sectionPath("Files")).at("Data Table");
        EXPECT_TRUE(stored == SettingsValue(version('a')) || stored == SettingsValue(version('b')));
    }
    EXPECT_GT(killedMidSave, 0) << "no kill landed inside a save";
    // A save cut short leaves its temporary file; the next load clears it away.
    SettingsStore store(path);
    EXPECT_EQ(store.load({}).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList("settings.ini"));
}
