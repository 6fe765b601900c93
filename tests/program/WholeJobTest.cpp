// Whole jobs on the bundled example letters, from the drawing to the
// end-of-job question, on the simulated machine in virtual time: every
// generated job must end, with the strip fed to the program's last feed
// target, the outputs as the program leaves them and the path recorded in
// YJG.dat, whatever feed mechanism and compensations are set.

#include "cli/DrawingSteps.h"
#include "cli/SimulatedSession.h"
#include "common/TextFile.h"
#include "machine/Dialect.h"
#include "machine/RecordingDialog.h"
#include "support/TempDir.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

namespace korvel::test {
namespace {

using machine::Word;

struct Job {
    std::string drawing = "letterD.dxf";
    double planeZ = -1.0;
    std::string runs = "1";
    std::string endFeed = "30";
    bool home = false;
    bool encoder = false;
    bool answer = false;
    std::function<void(machine::ParameterSet&)> setUp;
    // Lines of SimMachine.ini (empty: the shipped machine).
    common::Lines simMachine;
};

struct JobResult {
    bool started = false;
    bool ended = false;
    common::Lines program;
    common::Lines path;
    common::Lines finished;
    std::vector<machine::RecordingDialog::Entry> messages;
    double x = 0;
    double lastTarget = 0;
    std::array<int, 12> outputs{};
    std::array<int, 12> expectedOutputs{};
    double pulseEquivX = 1;
    std::int64_t ticks = 0;
};

// The last feed target of the program (after the last "G92 X").
double lastFeedTarget(const common::Lines& program) {
    for (auto it = program.rbegin(); it != program.rend(); ++it) {
        const machine::Words w = machine::splitWords(*it);
        if (w.has(Word::X) && w[Word::G] != "04") {
            return w.value(Word::X);
        }
    }
    return 0.0;
}

// The outputs as the program's M codes leave them; the cutter valves are
// switched off by the executor when it waits for their switches.
std::array<int, 12> outputsLeftBy(const common::Lines& program, const machine::ParameterSet& p) {
    std::array<int, 12> out{};
    for (size_t i = 0; i < program.size(); ++i) {
        const machine::Words w = machine::splitWords(program[i]);
        if (w[Word::G] == "92" || w[Word::G] == "04") {
            continue;
        }
        if (const auto* code = machine::findOutputCode(w[Word::M])) {
            out[static_cast<size_t>(code->output)] = code->level;
            if (code->secondOutput >= 0) {
                out[static_cast<size_t>(code->secondOutput)] = code->level;
            }
        }
        if (machine::isHomingCode(w[Word::M])) {
            ++i;
        }
    }
    if (p.CutterUpDownControl == 0 && p.InPositionCheck == 0) {
        out[1] = 0;
        out[2] = 0;
    }
    return out;
}

JobResult runJob(const Job& job) {
    TempDir tmp;
    const common::AppDir app(tmp.path() / "app");
    machine::RecordingDialog dialog(job.answer);
    if (!job.simMachine.empty()) {
        app.create();
        common::WriteLines(app.file("SimMachine.ini"), job.simMachine);
    }
    cli::DrawingSteps drawing;
    cli::SimulatedSession session(app, KORVEL_RESOURCES_DIR, dialog, drawing.tranParas());
    auto& p = session.machine().params();
    if (job.setUp) {
        job.setUp(p);
    }
    auto& fields = session.fields();
    fields.Text5 = job.runs;
    fields.Text7 = job.endFeed;
    fields.Check2 = job.home;
    fields.Check3 = job.encoder;

    JobResult r;
    drawing.open(app, std::string(KORVEL_EXAMPLES_DIR) + "/" + job.drawing, job.planeZ,
                 p.SlotAngleThreshold);
    cli::SelectWholeLetter(app);
    session.startJob();
    r.started = session.lastJob() && session.lastJob()->started;
    if (!r.started) {
        r.messages = dialog.entries();
        return r;
    }
    r.program = common::ReadLines(app.file("G5.dat"));
    r.path = common::ReadLines(app.file("CtrP.dat"));
    r.ended = session.runToEnd(200000);
    r.ticks = session.clock().ticks();
    r.messages = dialog.entries();
    r.finished = common::ReadLines(app.file("YJG.dat"));
    r.pulseEquivX = p.PulseEquivX;
    r.x = session.card().get_command_pos(0, 1) / p.PulseEquivX;
    r.lastTarget = lastFeedTarget(r.program);
    for (int o = 0; o < 12; ++o) {
        r.outputs[static_cast<size_t>(o)] = session.card().get_out(0, o);
    }
    r.expectedOutputs = outputsLeftBy(r.program, p);
    return r;
}

void expectCompleteJob(const JobResult& r) {
    ASSERT_TRUE(r.started);
    ASSERT_TRUE(r.ended) << "the job did not end within the time allowed";
    ASSERT_FALSE(r.messages.empty());
    for (const auto& m : r.messages) {
        EXPECT_NE(m.message.kind, common::MessageKind::Error) << m.message.zh;
    }
    const auto& end = r.messages.front();
    EXPECT_TRUE(end.question);
    EXPECT_EQ(end.message.zh, "加工完成！送料是否回零？");
    EXPECT_NEAR(r.x, r.lastTarget, 0.5 / r.pulseEquivX + 1e-9);
    EXPECT_EQ(r.outputs, r.expectedOutputs);
    EXPECT_EQ(r.finished, r.path);
}

TEST(WholeJob, RingOfTwoPiecesRunsToTheEndQuestion) {
    Job job;
    job.drawing = "ringO.dxf";
    const JobResult r = runJob(job);
    expectCompleteJob(r);
    EXPECT_EQ(r.messages.size(), 1u);
}

TEST(WholeJob, LetterDFromEveryDrawingFormat) {
    for (const char* drawing : {"letterD.dxf", "letterD.nc", "letterD.plt", "letterD.ai"}) {
        SCOPED_TRACE(drawing);
        Job job;
        job.drawing = drawing;
        expectCompleteJob(runJob(job));
    }
}

TEST(WholeJob, SeveralLettersWithHomingAndFeedReturn) {
    Job job;
    job.runs = "3";
    job.home = true;
    job.answer = true;
    const JobResult r = runJob(job);
    ASSERT_TRUE(r.started);
    ASSERT_TRUE(r.ended);
    ASSERT_EQ(r.messages.size(), 2u);
    EXPECT_EQ(r.messages[0].message.zh, "加工完成！送料是否回零？");
    EXPECT_TRUE(r.messages[0].answer);
    EXPECT_EQ(r.messages[1].message.zh, "动作完成！");
    EXPECT_NEAR(r.x, 0.0, 1e-9) << "the feed return brought the feed axis back";
    EXPECT_EQ(r.finished, r.path);
}

TEST(WholeJob, EndsWhateverTheCompensations) {
    Job job;
    job.drawing = "ringO.dxf";
    job.endFeed = "-20";
    job.setUp = [](machine::ParameterSet& p) {
        p.StartSegmentComp = 4.5;
        p.EndSegmentComp = -3.25;
        p.EngraveCutterRadius = 1.5;
        p.CutterRadiusCompFactor = 1.0;
    };
    expectCompleteJob(runJob(job));
}

TEST(WholeJob, GripperFeedsEndWithTheirStrokesCounted) {
    for (int feedType : {1, 2}) {
        SCOPED_TRACE(feedType);
        Job job;
        job.setUp = [feedType](machine::ParameterSet& p) {
            p.FeedType = static_cast<std::int16_t>(feedType);
            p.GripperStroke = 120;
        };
        const JobResult r = runJob(job);
        expectCompleteJob(r);
        const std::string stroke = feedType == 1 ? "X0 F" : "X120 F";
        EXPECT_TRUE(std::any_of(r.program.begin(), r.program.end(), [&](const std::string& l) {
            return l.rfind(stroke, 0) == 0;
        })) << "the letter needs more than one gripper stroke";
    }
}

TEST(WholeJob, EncoderChecksOnARollerFeedThatSlips) {
    Job job;
    job.encoder = true;
    job.simMachine = {"EncoderSlip=0.01"};
    job.setUp = [](machine::ParameterSet& p) {
        p.EncoderPort = 1;
        p.EncoderTolerance = 0.2;
    };
    const JobResult r = runJob(job);
    expectCompleteJob(r);
    EXPECT_GT(std::count(r.program.begin(), r.program.end(), "M34"), 2);
}

TEST(WholeJob, PneumaticCutterWaitsForItsSwitchesThroughTheJob) {
    Job job;
    job.setUp = [](machine::ParameterSet& p) {
        p.CutterUpDownControl = 0;
        p.InPositionCheck = 0;
    };
    expectCompleteJob(runJob(job));
}

} // namespace
} // namespace korvel::test
