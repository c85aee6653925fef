// What the Qt side costs, offscreen: the 101st history record through the
// real reply box (the renderer rebuilds it) against a box that drops its
// first line and appends one, and the window's start-up against a bare
// Qt Widgets window.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

#include "shell/MainWindow.h"
#include "shell/ShellFonts.h"
#include "tests/support/TempWorkDir.h"

namespace zrv::test {
namespace {

class SilentBox : public zrv::MessageBoxPort {
 public:
  void Show(const std::string&, const std::string&) override {}
  void Notify(const std::string&, const std::string&) override {}
};

std::string Line(int n) {
  return "2026/12/07 10:00:" + std::to_string(10 + n % 50) + " 99.9 25.3 %&DEG\r\n";
}

void BM_History101stRecordRealBox(benchmark::State& state) {
  SilentBox messages;
  shell::MainWindow window(messages);
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) state.SkipWithError("window not exposed");
  zrv::Control& box = window.Core().View().TxtBox_Reply;
  for (int i = 0; i < 100; ++i) box.text += Line(i);
  box.selStart = box.text.size();
  window.RenderNow();
  int n = 100;
  for (auto _ : state) {
    box.text = box.text.substr(box.text.find("\r\n") + 2) + Line(n++);
    box.selStart = box.text.size();
    window.RenderNow();
  }
}
BENCHMARK(BM_History101stRecordRealBox)->Unit(benchmark::kMicrosecond);

void BM_History101stRecordAppendedBox(benchmark::State& state) {
  QPlainTextEdit box;
  box.resize(600, 150);
  box.show();
  for (int i = 0; i < 100; ++i) box.appendPlainText(QString::fromStdString(Line(i)).trimmed());
  int n = 100;
  for (auto _ : state) {
    QTextCursor first(box.document()->firstBlock());
    first.select(QTextCursor::BlockUnderCursor);
    first.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
    first.removeSelectedText();
    box.appendPlainText(QString::fromStdString(Line(n++)).trimmed());
    box.ensureCursorVisible();
  }
}
BENCHMARK(BM_History101stRecordAppendedBox)->Unit(benchmark::kMicrosecond);

// Construction to the first exposed frame, in a running application.
void BM_StartupControllerWindow(benchmark::State& state) {
  SilentBox messages;
  for (auto _ : state) {
    shell::MainWindow window(messages);
    window.show();
    benchmark::DoNotOptimize(QTest::qWaitForWindowExposed(&window));
  }
}
BENCHMARK(BM_StartupControllerWindow)->Unit(benchmark::kMicrosecond);

void BM_StartupBareWindow(benchmark::State& state) {
  for (auto _ : state) {
    QWidget window;
    window.resize(621, 325);
    window.show();
    benchmark::DoNotOptimize(QTest::qWaitForWindowExposed(&window));
  }
}
BENCHMARK(BM_StartupBareWindow)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zrv::test

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  zrv::shell::InstallFontSubstitutions();
  // No history files here: the window keeps its design text and dials nothing.
  zrv::test::EnterTempWorkDir();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
}
