#pragma once
// What every benchmark program here shares: the big shop store_bench lays out, the start-up
// around the cases and the run of the cases the command line chooses.

#include "common/Messages.h"

#include <QString>
#include <optional>

namespace bench {

// The big shop's article of kBigCount goods; its other articles hold 1,000 each.
extern const QString kBigArticle;
constexpr int kBigCount = 9999;

// The big shop workbook that store_bench writes, as TERVIN_BENCH_SHOP names it; nothing, with a
// line on stderr, when it is not there.
std::optional<QString> bigShopWorkbook();

// Windows are drawn offscreen unless QT_QPA_PLATFORM names a platform; before the application
// is made.
void windowsOffscreen();

// Runs the cases the command line chooses, with the benchmark library's options taken from it.
void runBenchmarks(int& argc, char** argv);

// Answers every message with one answer while it lives: nothing may wait for a person here.
class QuietMessages final : public app::MessageService {
public:
    explicit QuietMessages(app::Answer answer = app::Answer::Ok) : answer_(answer) { app::installMessageService(this); }
    ~QuietMessages() override { app::installMessageService(nullptr); }
    QuietMessages(const QuietMessages&) = delete;
    QuietMessages& operator=(const QuietMessages&) = delete;

    app::Answer show(const app::Message&) override { return answer_; }

private:
    app::Answer answer_;
};

// The main of a program whose cases share one Shared, made from the big shop's workbook before
// the clock runs and reached through `big` while they run, in an application of QtApplication
// (QCoreApplication, QGuiApplication or QApplication) with quiet messages. 1 without the big shop.
template <class QtApplication, class Shared>
int runOnBigShop(int argc, char** argv, Shared*& big)
{
    windowsOffscreen();
    QtApplication application(argc, argv);
    const auto workbook = bigShopWorkbook();
    if (!workbook) return 1;
    QuietMessages quiet;
    Shared shared(*workbook);
    big = &shared;
    runBenchmarks(argc, argv);
    big = nullptr;
    return 0;
}

} // namespace bench
