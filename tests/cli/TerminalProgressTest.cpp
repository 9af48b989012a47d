#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <cerrno>
#include <vector>

#include "support/AudioFixtures.h"
#include "support/TestSupport.h"

using namespace fixtures;

extern char** environ;

namespace {

struct TerminalRun {
  int exitCode = -1;
  QByteArray screen;  // standard output and standard error as the terminal received them
};

// Runs velmora-cli on a pseudo-terminal, where it draws the checksum progress, in the program
// folder programDir. Everything the child needs is prepared before the fork.
TerminalRun RunInTerminal(const QString& programDir, const QStringList& arguments) {
  const QByteArray program(VELMORA_CLI);
  const QByteArray folder = QFile::encodeName(programDir);
  std::vector<QByteArray> argumentBytes{program};
  for (const QString& argument : arguments)
    argumentBytes.push_back(QFile::encodeName(argument));
  std::vector<char*> argv;
  for (QByteArray& argument : argumentBytes)
    argv.push_back(argument.data());
  argv.push_back(nullptr);
  QByteArray locale("LC_ALL=en_US.UTF-8");
  std::vector<char*> environment{locale.data()};
  for (char** variable = environ; *variable != nullptr; ++variable)
    environment.push_back(*variable);
  environment.push_back(nullptr);

  int terminal = -1;
  const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
  if (child == 0) {
    if (chdir(folder.constData()) == 0)
      execve(argv[0], argv.data(), environment.data());
    _exit(127);
  }
  TerminalRun run;
  if (child < 0)
    return run;
  char buffer[4096];
  for (;;) {
    const ssize_t got = read(terminal, buffer, sizeof buffer);
    if (got > 0)
      run.screen.append(buffer, got);
    else if (got < 0 && errno == EINTR)
      continue;
    else
      break;  // EIO once the child and its terminal side are gone
  }
  int status = 0;
  waitpid(child, &status, 0);
  close(terminal);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

class TerminalProgressTest : public ::testing::Test {
 protected:
  TerminalProgressTest() {
    program_.Write(QStringLiteral("nfo.ini"), "[Velmora]\r\nautocrc=1\r\ncrc=SFV\r\n");
    for (const char* name : {"1.mp3", "2.mp3", "3.mp3", "4.mp3"})
      album_.Write(QString::fromLatin1(name), MpegFrames(128, 20) + QByteArray(name));
  }

  TerminalRun Run(const char* kind) {
    return RunInTerminal(program_.Path(), {QStringLiteral("--json"), QStringLiteral("--checksum"),
                                           QString::fromLatin1(kind), album_.Path()});
  }

  TempFolder program_;
  TempFolder album_;
};

}  // namespace

TEST_F(TerminalProgressTest, EveryFileIsShownInTrackOrderAndTheLineEnds) {
  const TerminalRun run = Run("md5");
  ASSERT_EQ(run.exitCode, 0) << run.screen.constData();
  qsizetype position = 0;
  for (const char* step : {"\r[ 25%] 1/4 1.mp3 ", "\r[ 50%] 2/4 2.mp3 ", "\r[ 75%] 3/4 3.mp3 ",
                           "\r[100%] 4/4 4.mp3 "}) {
    position = run.screen.indexOf(step, position);
    ASSERT_GE(position, 0) << "missing or out of order: " << step + 1;
  }
  // The 32 digits of the last file's MD5, then the line is cleared to its end and closed.
  EXPECT_EQ(run.screen.mid(position + 18 + 32, 5), QByteArray("\x1b[K\r\n"));
}

TEST_F(TerminalProgressTest, MessageDuringThePassStartsOnALineOfItsOwn) {
  // A file that another handle holds open for writing cannot be checksummed.
  QFile writer(album_.FilePath(QStringLiteral("3.mp3")));
  ASSERT_TRUE(writer.open(QIODevice::ReadWrite));
  const TerminalRun run = Run("sfv");
  EXPECT_EQ(run.exitCode, 3);
  const qsizetype message = run.screen.indexOf("Cannot open file ");
  ASSERT_GT(message, 0) << run.screen.constData();
  EXPECT_EQ(run.screen.mid(message - 5, 5), QByteArray("\x1b[K\r\n"))
      << "the message does not follow the closed progress line";
  EXPECT_TRUE(run.screen.contains("\r[ 50%] 2/4 2.mp3 "));
  EXPECT_FALSE(run.screen.contains("3/4"));
}

TEST_F(TerminalProgressTest, NoProgressWhenStandardErrorIsNoTerminal) {
  QProcess process;
  process.setWorkingDirectory(program_.Path());
  process.start(QStringLiteral(VELMORA_CLI),
                {QStringLiteral("--json"), QStringLiteral("--checksum"), QStringLiteral("sfv"),
                 album_.Path()});
  ASSERT_TRUE(process.waitForFinished(120000));
  EXPECT_EQ(process.exitCode(), 0);
  EXPECT_EQ(process.readAllStandardError(), QByteArray());
  EXPECT_TRUE(process.readAllStandardOutput().contains("\"ChecksumText\""));
}
