// The yardstick of scripts/bench-memory.sh: a Qt Widgets window of three controls, built with
// the same Qt in the same run. Prints how long the window took to be visible from the moment
// the script started it (QV_BENCH_T0, nanoseconds since 1970) and its resident memory then.

#include "tests/bench/BenchProcess.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("Server address")));
    layout->addWidget(new QLineEdit);
    layout->addWidget(new QPushButton(QStringLiteral("Login")));
    window.show();
    qvbench::waitUntil([&] { return qvbench::exposed(window); });
    qvbench::report("visible_ms", qvbench::msSinceStart());
    if (qvbench::timeOnly())
        return 0;
    qvbench::settle();
    qvbench::report("logon_rss_kb", qvbench::rssKb());
    return 0;
}
