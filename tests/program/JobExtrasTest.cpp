// The job extras on the simulated machine: a job restarted at a piece
// feeds exactly the rest of the whole job, the time measured before the
// start is the time the job takes and the remaining time follows it, and
// every job, finished or stopped, leaves its line in the job log.

#include "JobSessionSupport.h"
#include "TestLetters.h"
#include "app/JobLog.h"
#include "app/JobPreview.h"
#include "app/RunReport.h"
#include "common/TextFile.h"
#include "geometry/PathFile.h"

#include <cmath>
#include <gtest/gtest.h>
#include <sstream>
#include <vector>

namespace korvel::test {
namespace {

// Double bender (no arm side to carry over from one piece to the next)
// and a join longer than the way to the bender, so that no bend of the
// piece before is still pending when the next piece starts.
void restartMachine(JobSession& s) {
    auto& p = s.machine().params();
    p.BenderType = 2;
    s.session->fields().Text4 = "100";
}

// Index of the first traced line of the slot block that starts at strip
// position `at` ("G04 P200" opens every slot block).
std::size_t slotBlockAt(const std::vector<TracedLine>& trace, double at) {
    for (std::size_t i = 0; i < trace.size(); ++i) {
        if (trace[i].text == "04|||||200" && std::abs(trace[i].strip - at) < 0.01) {
            return i;
        }
    }
    return trace.size();
}

TEST(JobRestart, TheRestartedJobFeedsExactlyTheTailOfTheWholeJob) {
    auto path = program::test::threePieces();
    // The first piece ends in a joint cut straight through (more than 5
    // degrees to the right), its start in a swung one: the joints of the
    // rest alternate their swing from an odd count.
    std::find_if(path.begin(), path.end(), [](const auto& r) { return r.isTrailer(); })->b = 10;
    JobSession whole;
    whole.usePath(path);
    restartMachine(whole);
    whole.session->startJob();
    ASSERT_TRUE(whole.session->lastJob()->started);
    const auto full = traceJob(whole);

    JobSession restarted;
    restarted.usePath(path);
    restartMachine(restarted);
    restarted.session->startJobFromPiece(2);
    ASSERT_TRUE(restarted.session->lastJob()->started);
    // The restart homes the machine before anything moves.
    const auto lines = common::ReadLines(restarted.app.file("G5.dat"));
    EXPECT_NE(std::find(lines.begin(), lines.end(), "M38"), lines.end());
    const auto tail = traceJob(restarted);

    // Piece 2 starts after piece 1 and the join.
    const auto pieces = geometry::ReadPathFile(restarted.app.file("CtrP.dat"));
    double piece1 = 0;
    for (std::size_t i = 2; i < pieces.size() && !pieces[i].isTrailer(); ++i) {
        piece1 +=
            geometry::Distance({pieces[i - 1].x, pieces[i - 1].y}, {pieces[i].x, pieces[i].y});
    }
    const double start2 = piece1 + 100;
    const std::size_t from = slotBlockAt(full, start2);
    const std::size_t own = slotBlockAt(tail, 0.0);
    ASSERT_LT(from, full.size());
    ASSERT_LT(own, tail.size());
    ASSERT_EQ(full.size() - from, tail.size() - own);
    for (std::size_t i = 0; i < tail.size() - own; ++i) {
        const auto& a = full[from + i];
        const auto& b = tail[own + i];
        ASSERT_EQ(a.text, b.text) << i;
        ASSERT_NEAR(a.strip - start2, b.strip, 0.01) << i << " " << a.text;
        ASSERT_NEAR(a.arm, b.arm, 0.01) << i << " " << a.text;
    }
    EXPECT_NEAR(whole.strip() - start2, restarted.strip(), 0.01);
}

TEST(JobRestart, APieceThePathDoesNotHaveIsRefused) {
    JobSession s;
    s.usePath(program::test::threePieces());
    s.session->startJobFromPiece(4);
    ASSERT_TRUE(s.session->lastJob());
    EXPECT_FALSE(s.session->lastJob()->started);
    EXPECT_TRUE(s.dialog.saw("加工路径只有3段，不能从第4段开始加工！"));
}

TEST(JobTime, TheEstimateIsTheTimeEveryExampleLetterTakes) {
    const std::pair<const char*, double> letters[] = {{"ringO.dxf", 0},
                                                      {"letterD.dxf", 0},
                                                      {"letterD.nc", -1},
                                                      {"letterD.plt", 0},
                                                      {"letterD.ai", 0}};
    for (const auto& [name, plane] : letters) {
        SCOPED_TRACE(name);
        JobSession s;
        s.useExample(name, plane);
        s.session->fields().Text5 = "2";
        s.session->startJob();
        const auto& estimate = s.session->jobTime();
        ASSERT_TRUE(estimate.has_value());
        const std::int64_t total = estimate->totalMs();
        // The remaining time, sampled as the job runs, is what is left of
        // the estimate within a few timer ticks.
        auto& clock = s.session->clock();
        const std::int64_t start = clock.elapsedMs();
        double worst = 0;
        s.session->clock().runUntil(
            [&] {
                s.session->followRunningJob();
                if (const auto left = s.session->remainingJobMs()) {
                    const double error = std::abs(
                        static_cast<double>(*left - (total - (clock.elapsedMs() - start))));
                    worst = std::max(worst, error);
                }
                return !s.machine().run().anyRunActive();
            },
            400000);
        ASSERT_TRUE(s.session->lastJobMs().has_value());
        EXPECT_LE(std::abs(static_cast<double>(*s.session->lastJobMs() - total)), 0.01 * total);
        EXPECT_LT(worst, 0.01 * total);
        EXPECT_FALSE(s.session->remainingJobMs().has_value());
    }
}

// How far each bundled letter misses its start with the shipped machine,
// in mm. The outer O closes. What the others miss the machine really
// bends: the inner O's tight ends are tapped, and each tapped run ends
// with a tap one spacing past its arc; the D's bowl meets its straights
// at points bent at the radius through their neighbours, so the last
// chord of each straight is pressed and the bowl's last chord too little.
struct ExampleClosure {
    const char* name;
    std::vector<double> closureBelow; // per piece
};

// The bundled letters with the shipped machine: the preview finds every
// piece between its joint slots, as long as its path, and closes it as far
// as the machine does.
TEST(JobPreview, ExampleLettersAreFoundPieceByPiece) {
    const ExampleClosure letters[] = {{"ringO.dxf", {0.5, 2.5}}, {"letterD.dxf", {4.5}}};
    for (const auto& [name, closureBelow] : letters) {
        const std::size_t pieces = closureBelow.size();
        SCOPED_TRACE(name);
        JobSession s;
        s.useExample(name, 0);
        s.session->startJob();
        ASSERT_TRUE(s.session->lastJob()->started);
        const auto preview =
            app::PreviewFolderJob(s.app, s.machine().params(), s.machine().tables());
        ASSERT_EQ(preview.pieces.size(), pieces);
        // Before the run button: the same preview from the program made in
        // memory.
        program::MarkedPoints marked;
        const auto before =
            app::PreviewSelectedJob(s.app, s.machine().params(), s.machine().tables(),
                                    s.session->fields(), marked, s.session->card());
        ASSERT_EQ(before.pieces.size(), pieces);
        EXPECT_EQ(before.pieces.back().strip.size(), preview.pieces.back().strip.size());
        EXPECT_DOUBLE_EQ(before.pieces.back().closure, preview.pieces.back().closure);
        for (const auto& piece : preview.pieces) {
            EXPECT_TRUE(piece.closed);
            EXPECT_NEAR(piece.lengthDifference, 0.0, 0.01);
            EXPECT_EQ(piece.strip.front().x, preview.path[piece.number - 1].front().x);
            EXPECT_LT(piece.closure, closureBelow[piece.number - 1]) << "piece " << piece.number;
        }
    }
}

// Where a straight meets an arc tangentially, the point between them.
bool straightToArc(const geometry::PathRecord& before, const geometry::PathRecord& joint,
                   const geometry::PathRecord& after) {
    return joint.isArcPoint() && !before.isArcPoint() && after.isArcPoint();
}

// The D's gap is all in the two points where its bowl meets the straights:
// given the radius the drawing has there, the same machine closes it.
TEST(JobPreview, TheDClosesWhenItsBowlJointsFollowTheDrawing) {
    JobSession s;
    s.useExample("letterD.dxf", 0);
    const auto drawn = geometry::ReadPathFile(s.app.file("CtrP.dat"));
    auto path = drawn;
    int joints = 0;
    for (std::size_t i = 1; i + 1 < drawn.size(); ++i) {
        auto& joint = path[i];
        if (straightToArc(drawn[i - 1], joint, drawn[i + 1])) {
            joint.a = 0; // the straight runs up to the arc
            joint.b = 0;
            ++joints;
        } else if (straightToArc(drawn[i + 1], joint, drawn[i - 1])) {
            // The arc runs on to the straight at its own radius.
            const auto& last = drawn[i - 1];
            joint.a = last.a;
            joint.b = std::hypot(joint.x - last.x, joint.y - last.y) / last.a;
            ++joints;
        }
    }
    ASSERT_EQ(joints, 2);
    geometry::WritePathFile(s.app.file("CtrP.dat"), path);
    program::MarkedPoints marked;
    const auto preview = app::PreviewSelectedJob(s.app, s.machine().params(), s.machine().tables(),
                                                 s.session->fields(), marked, s.session->card());
    ASSERT_EQ(preview.pieces.size(), 1u);
    EXPECT_LT(preview.pieces[0].closure, 0.5);
    EXPECT_LT(preview.pieces[0].deviation, 0.5);
}

TEST(JobLog, FinishedAndStoppedJobsAreLoggedForASpreadsheet) {
    JobSession s;
    s.useExample("ringO.dxf", 0);
    const std::string name = "门头,大字 \"O\".dxf";
    s.session->setDrawing(name);
    s.session->fields().Text5 = "2";

    // A whole job, then one stopped half-way: the strip used up to the
    // stop is logged.
    s.session->startJob();
    const std::int64_t total = s.session->jobTime()->totalMs();
    ASSERT_TRUE(s.session->runToEnd(400000));
    s.session->startJob();
    ASSERT_TRUE(s.session->lastJob()->started);
    s.session->clock().runFor(total / 2);
    s.machine().executor().Command_Stop();

    const auto log = app::ReadJobLog(s.app);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].drawing, name);
    EXPECT_EQ(log[0].ended, "finished");
    EXPECT_EQ(log[1].ended, "stopped");
    EXPECT_EQ(log[1].pieces, 2);
    EXPECT_EQ(log[1].runs, 2);
    EXPECT_GT(log[1].strip, 10.0);
    EXPECT_LT(log[1].strip, log[0].strip - 10.0);
    EXPECT_NEAR(log[0].seconds, static_cast<double>(total) / 1000.0, 0.01);
    EXPECT_NEAR(log[1].seconds, static_cast<double>(total) / 2000.0, 0.05);

    const std::string bytes = common::ReadBytes(s.app.file("JobLog.csv"));
    EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(bytes.find(",\"门头,大字 \"\"O\"\".dxf\",2,2,"), std::string::npos);
    // Three lines (names and two jobs), each ended by CR LF.
    std::size_t ends = 0;
    for (std::size_t at = bytes.find("\r\n"); at != std::string::npos;
         at = bytes.find("\r\n", at + 2)) {
        ++ends;
    }
    EXPECT_EQ(ends, 3u);
    EXPECT_EQ(bytes.find('\n'), bytes.find("\r\n") + 1);
}

TEST(JobLog, CsvFieldsSurviveQuotesCommasAndChineseText) {
    const std::vector<std::vector<std::string>> rows = {
        {"a", "b,c", "\"quoted\"", ""}, {"曲率表1,2", "", "x\"y", "大字"}, {""}};
    for (const auto& row : rows) {
        EXPECT_EQ(app::SplitCsvLine(app::CsvLine(row)), row);
    }
}

// The run command on a job that holds the machine: paused, it goes on at
// the line where it stopped with the program it was loaded with (the end
// feed typed meanwhile would give another G5.dat); moving, it is left
// alone; a restart from a piece waits for the job's end.
TEST(RunCommand, APausedJobGoesOnWhereItStoppedWithItsOwnProgram) {
    JobSession s;
    s.usePath(program::test::threePieces());
    s.session->fields().Text7 = "20";
    s.session->startJob();
    ASSERT_TRUE(s.session->lastJob()->started);
    const std::string program = common::ReadBytes(s.app.file("G5.dat"));
    auto& run = s.machine().run();
    const auto lineCount = run.LineCount;
    ASSERT_TRUE(s.session->clock().runUntil([&] { return run.CurrentLine >= 20; }, 100000));
    s.machine().executor().Command_Pause();
    s.session->clock().runFor(3000);
    const auto paused = run.CurrentLine;
    ASSERT_EQ(run.WaitFlag, 1);

    s.session->fields().Text7 = "55";
    s.session->startJobFromPiece(2);
    EXPECT_EQ(run.WaitFlag, 1) << "a restart from a piece is no resume";
    s.session->startJob();
    EXPECT_EQ(run.WaitFlag, 0);
    EXPECT_NE(run.JobRunActive, 0);
    EXPECT_EQ(run.CurrentLine, paused);
    EXPECT_EQ(run.LineCount, lineCount);
    EXPECT_EQ(common::ReadBytes(s.app.file("G5.dat")), program);

    ASSERT_TRUE(s.session->clock().runUntil([&] { return run.CurrentLine > paused; }, 1000));
    const auto moving = run.CurrentLine;
    s.session->startJob();
    s.session->startJobFromPiece(2);
    EXPECT_GE(run.CurrentLine, moving);
    EXPECT_EQ(common::ReadBytes(s.app.file("G5.dat")), program);
    ASSERT_TRUE(s.session->runToEnd(400000));
    EXPECT_EQ(common::ReadBytes(s.app.file("G5.dat")), program);
}

// A run cut short by its time limit ends through the stop: no valve, no
// spindle and neither clamp valve left on, and the job logged as stopped.
TEST(RunReport, ARunCutShortEndsWithTheMachineStopped) {
    JobSession s;
    s.usePath(program::test::threePieces());
    s.session->startJob();
    ASSERT_TRUE(s.session->lastJob()->started);
    auto& card = s.session->card();
    ASSERT_TRUE(s.session->clock().runUntil([&] { return card.get_out(0, 3) == 1; }, 100000));
    ASSERT_EQ(card.get_out(0, 11), 1);
    std::ostringstream report;
    const app::RunSummary summary = app::RunAndReport(*s.session, s.dialog, 0.06, report);
    EXPECT_FALSE(summary.finished);
    EXPECT_FALSE(s.machine().run().anyRunActive());
    for (int output = 0; output < machine::kCardOutputCount; ++output) {
        EXPECT_EQ(card.get_out(0, output), 0) << "OUT" << output;
    }
    const auto log = app::ReadJobLog(s.app);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].ended, "stopped");
}

} // namespace
} // namespace korvel::test
