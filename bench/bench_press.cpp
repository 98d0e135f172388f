// How long a press on the board takes in the real main window: rules, painting
// into the backing image and the two text fields; and, with the repaint, until
// the pixels are flushed to the screen. And how long finding a whole tour takes,
// from each of the 64 squares in turn. Run under an X server (make bench).
#include "boardview.h"
#include "design.h"
#include "frmmain.h"
#include "tour.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {
FrmMain *window = nullptr;
QList<QPoint> tour;

// A press, with its squares painted into the backing image.
void press(QPoint cell)
{
    const float side = window->game().state().CellSize;
    window->Pct_MouseDown(ButtonLeft, 0, (cell.x() + 0.5f) * side, (cell.y() + 0.5f) * side);
    QImage picture = window->Pct->picture();
    benchmark::DoNotOptimize(picture);
}

// Walks the tour, starting a new game (untimed) before the last square would end it.
void acceptedPresses(benchmark::State &state, bool flush)
{
    qsizetype next = tour.size() - 1; // a new game first
    for (auto _ : state) {
        if (next == tour.size() - 1) {
            state.PauseTiming();
            window->CmdGen_Click();
            QCoreApplication::processEvents();
            next = 0;
            state.ResumeTiming();
        }
        press(tour[next++]);
        if (flush)
            QCoreApplication::processEvents();
    }
}

void BM_AcceptedPress(benchmark::State &state)
{
    acceptedPresses(state, false);
}

void BM_AcceptedPressToPixelsFlushed(benchmark::State &state)
{
    acceptedPresses(state, true);
}

void BM_RefusedPress(benchmark::State &state)
{
    window->CmdGen_Click();
    press(QPoint(3, 3));
    QCoreApplication::processEvents();
    for (auto _ : state)
        press(QPoint(3, 3)); // the knight's own square
}
}

void BM_WholeTour(benchmark::State &state)
{
    int start = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(openTour(QPoint(start % 8, start / 8)));
        start = (start + 1) % 64;
    }
}

BENCHMARK(BM_WholeTour)->Repetitions(15)->ReportAggregatesOnly(true);
BENCHMARK(BM_AcceptedPress)->Repetitions(15)->ReportAggregatesOnly(true);
BENCHMARK(BM_RefusedPress)->Repetitions(15)->ReportAggregatesOnly(true);
BENCHMARK(BM_AcceptedPressToPixelsFlushed)->Repetitions(15)->ReportAggregatesOnly(true);

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    DesignFont::mapToInstalledFonts();
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    // A whole tour from the top-left corner, as (column, row) digits.
    const QString cells = QStringLiteral(
        "00 12 04 16 37 56 77 65 57 76 64 72 60 41 20 01 13 05 17 36 24 03 11 30 22 10 02 21 40 32 51 70 62 74 66 "
        "47 26 07 15 27 06 14 35 43 55 67 75 63 71 50 31 23 44 25 46 34 53 45 33 52 73 54 42 61");
    for (const QString &cell : cells.split(QLatin1Char(' ')))
        tour.append(QPoint(cell[0].digitValue(), cell[1].digitValue()));

    FrmMain main;
    window = &main;
    main.show();
    QCoreApplication::processEvents();
    std::printf("board: %d x %d pixels\n", main.Pct->width(), main.Pct->height());

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
