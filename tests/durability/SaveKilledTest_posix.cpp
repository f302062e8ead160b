// The address-book save killed with SIGKILL: each saver is a forked copy of the test.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "addressbook/AddressBook.h"
#include "durability/KillRounds.h"
#include "support/ScratchFolder.h"

namespace {

class ForkedSaver : public SaverProcess {
public:
    ForkedSaver(const std::string& path, const SavedBook (&books)[2])
        : m_path(path), m_books(books) {}

    void Start() override {
        const pid_t parent = getpid();
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        m_child = fork();
        ASSERT_GE(m_child, 0) << "fork failed";
        if (m_child == 0) {
            close(ready[0]);
            const char started = 1;
            (void)!write(ready[1], &started, 1);
            close(ready[1]);
            // Until killed, or until the test that forked it has gone.
            SaveInTurns(m_path, m_books, [parent] { return getppid() == parent; });
            _exit(0);
        }
        // On a busy machine the child may wait a while to run; the kill delays count from
        // when it does.
        close(ready[1]);
        char started = 0;
        const ssize_t got = read(ready[0], &started, 1);
        close(ready[0]);
        ASSERT_EQ(got, 1) << "the saver never got going";
    }

    void Kill() override {
        ASSERT_EQ(kill(m_child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(waitpid(m_child, &status, 0), m_child);
        // A saver that died any other way crashed on its own.
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    }

    unsigned long Process() const override { return static_cast<unsigned long>(m_child); }

private:
    const std::string& m_path;
    const SavedBook (&m_books)[2];
    pid_t m_child = -1;
};

TEST(SaveKilledTest, KilledSaverLeavesTheOldOrTheNewBookWhole) {
    const SavedBook books[2] = {MakeSavedBook(kDurabilityDevices, 0),
                                MakeSavedBook(kDurabilityDevices, 1)};
    ScratchFolder folder;
    const std::string path = folder.File(kAddressBookFileName);
    ForkedSaver saver(path, books);
    RunKillRounds(folder.Folder(), path, books, saver, {500, std::chrono::seconds(15)});
}

}  // namespace
