// --help and --version of the installed programs, run as processes: what a
// user or a package check sees on the terminal.
#include <gtest/gtest.h>

#include <QProcess>
#include <QStringList>

namespace {

struct CommandLineCase {
  const char* name;
  const char* program;
  QStringList arguments;
  int exitCode;
  QByteArray stdoutHas;  // empty: stdout must stay empty
};

class ProgramCommandLineTest : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(ProgramCommandLineTest, AnswersAndExits) {
  const CommandLineCase& c = GetParam();
  QProcess process;
  process.start(c.program, c.arguments);
  ASSERT_TRUE(process.waitForFinished(10000)) << c.program;
  const QByteArray out = process.readAllStandardOutput();
  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(process.exitCode(), c.exitCode) << process.readAllStandardError().toStdString();
  if (c.stdoutHas.isEmpty()) {
    EXPECT_EQ(out, "");
  } else {
    EXPECT_TRUE(out.contains(c.stdoutHas)) << out.toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Programs, ProgramCommandLineTest,
    ::testing::Values(
        CommandLineCase{"ControllerVersion",
                        ZRV02_CONTROLLER_PATH,
                        {"--version"},
                        0,
                        "zrv02-controller " ZRV02_VERSION "\n"},
        CommandLineCase{"ControllerHelp", ZRV02_CONTROLLER_PATH, {"--help"}, 0, "~/ZRV-02"},
        CommandLineCase{"ControllerUnknownOption", ZRV02_CONTROLLER_PATH, {"--port"}, 1, ""},
        CommandLineCase{"ControllerArgument", ZRV02_CONTROLLER_PATH, {"zrv-02.log"}, 1, ""},
        CommandLineCase{
            "SimVersion", ZRV02_SIM_PATH, {"--version"}, 0, "zrv02-sim " ZRV02_VERSION "\n"},
        CommandLineCase{"SimHelp", ZRV02_SIM_PATH, {"--help"}, 0, "--purity-ramp"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
