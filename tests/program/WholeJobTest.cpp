// Whole jobs on the bundled example letters, from the drawing to the
// end-of-job question, on the simulated machine in virtual time: every
// generated job must end, with the strip fed to the program's last feed
// target, the outputs as the program leaves them and the path recorded in
// YJG.dat, whatever feed mechanism and compensations are set.

#include "app/DrawingSteps.h"
#include "app/SimulatedSession.h"
#include "common/Basic.h"
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
#include <set>
#include <vector>

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
    // Strip fed (mm, as the executor follows it) at the start of every slot
    // block, the job's planned total and what remained when it ended.
    std::vector<double> stripAtSlots;
    double totalFeed = 0;
    double remainingAtEnd = -1;
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
    app::DrawingSteps drawing;
    app::SimulatedSession session(app, KORVEL_RESOURCES_DIR, dialog, drawing.tranParas());
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
    app::SelectWholeLetter(app);
    session.startJob();
    r.started = session.lastJob() && session.lastJob()->started;
    if (!r.started) {
        r.messages = dialog.entries();
        return r;
    }
    r.program = common::ReadLines(app.file("G5.dat"));
    r.path = common::ReadLines(app.file("CtrP.dat"));
    auto& executor = session.machine().executor();
    auto& run = session.machine().run();
    const auto stripFed = [&] {
        return executor.feedProgress().fed(session.card().get_command_pos(0, 1),
                                           run.GripperStrokes);
    };
    dialog.setListener([&](const machine::RecordingDialog::Entry& e) {
        if (e.question) {
            r.totalFeed = executor.feedProgress().total();
            r.remainingAtEnd = r.totalFeed - stripFed();
        }
    });
    long long executed = 0;
    r.ended = session.clock().runUntil(
        [&] {
            if (executor.linesExecuted() != executed) {
                executed = executor.linesExecuted();
                // A slot block opens with its encoder step dwell.
                if (run.JobRunActive != 0 && run.CurrentLine > 0 &&
                    run.line(run.CurrentLine - 1) == "G04 P200") {
                    r.stripAtSlots.push_back(stripFed());
                }
            }
            return !run.anyRunActive() && run.HomingAxisCode == 0;
        },
        200000);
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

// Jobs from every drawing format, with extreme compensations, a slipping
// roller checked by the encoder and a pneumatic cutter waiting for its
// switches: each ends with the question and the strip at its last target.
TEST(WholeJob, EveryJobEndsComplete) {
    using Edit = std::function<void(Job&)>;
    std::vector<std::pair<std::string, Edit>> cases;
    // ringO.dxf runs below with compensations, letterD.dxf with the other
    // settings and as the roller reference of the gripper feeds.
    for (const char* drawing : {"letterD.nc", "letterD.plt", "letterD.ai"}) {
        cases.emplace_back(drawing, [drawing](Job& j) { j.drawing = drawing; });
    }
    cases.emplace_back("compensations", [](Job& j) {
        j.drawing = "ringO.dxf";
        j.endFeed = "-20";
        j.setUp = [](machine::ParameterSet& p) {
            p.StartSegmentComp = 4.5;
            p.EndSegmentComp = -3.25;
            p.EngraveCutterRadius = 1.5;
            p.CutterRadiusCompFactor = 1.0;
        };
    });
    cases.emplace_back("encoder on a slipping roller", [](Job& j) {
        j.encoder = true;
        j.simMachine = {"EncoderSlip=0.01"};
        j.setUp = [](machine::ParameterSet& p) {
            p.EncoderPort = 1;
            p.EncoderTolerance = 0.2;
        };
    });
    cases.emplace_back("pneumatic cutter", [](Job& j) {
        j.setUp = [](machine::ParameterSet& p) {
            p.CutterUpDownControl = 0;
            p.InPositionCheck = 0;
        };
    });
    for (const auto& [name, edit] : cases) {
        SCOPED_TRACE(name);
        Job job;
        edit(job);
        const JobResult r = runJob(job);
        expectCompleteJob(r);
        EXPECT_EQ(r.messages.size(), 1u);
        if (job.encoder) {
            EXPECT_GT(std::count(r.program.begin(), r.program.end(), "M34"), 2);
        }
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

// The gripper feeds cut their feeds into strokes, the double-stroke one
// carrying the strip both ways: the strip must still reach every slot and
// the job's end exactly where the roller feed puts it, and the job ends with
// nothing left to feed. Stroke lengths are chosen so that the double-stroke
// job ends both after an even and after an odd number of strokes.
TEST(WholeJob, GripperFeedsPutTheStripWhereTheRollerFeedDoes) {
    Job roller;
    roller.runs = "2";
    const JobResult reference = runJob(roller);
    expectCompleteJob(reference);
    ASSERT_GE(reference.stripAtSlots.size(), 4u);
    EXPECT_NEAR(reference.totalFeed, reference.lastTarget, 0.5 / reference.pulseEquivX + 1e-9);

    std::set<long> parities;
    for (const auto& [feedType, stroke] :
         std::vector<std::pair<int, double>>{{1, 120}, {2, 120}, {2, 130}, {2, 170}}) {
        SCOPED_TRACE(testing::Message() << "feed type " << feedType << ", stroke " << stroke);
        Job job = roller;
        job.setUp = [feedType, stroke](machine::ParameterSet& p) {
            p.FeedType = static_cast<std::int16_t>(feedType);
            p.GripperStroke = stroke;
        };
        const JobResult r = runJob(job);
        expectCompleteJob(r);
        const std::string strokeStart = feedType == 1 ? "X0 F" : "X0 F12000";
        const auto strokes = std::count_if(r.program.begin(), r.program.end(), [&](const auto& l) {
            return l.rfind(strokeStart, 0) == 0 ||
                   (feedType == 2 && l == "X" + common::FormatNumber(stroke, "0") + " F12000");
        });
        EXPECT_GT(strokes, 1) << "the letters need more than one gripper stroke";
        if (feedType == 2) {
            parities.insert(strokes % 2);
        }
        EXPECT_NEAR(r.remainingAtEnd, 0.0, 1e-6);
        EXPECT_NEAR(r.totalFeed, reference.totalFeed, 2.0 / r.pulseEquivX);
        ASSERT_EQ(r.stripAtSlots.size(), reference.stripAtSlots.size());
        for (size_t i = 0; i < r.stripAtSlots.size(); ++i) {
            EXPECT_NEAR(r.stripAtSlots[i], reference.stripAtSlots[i], 2.0 / r.pulseEquivX)
                << "slot " << i;
        }
    }
    EXPECT_EQ(parities.size(), 2u) << "odd and even stroke counts at the end";
}

// The double-stroke gripper's feed button: a press on an idle machine
// starts the jog program and the release stops it; during a job the press
// does nothing and the release must not stop the job.
TEST(WholeJob, GripperFeedButtonJogsOnlyAnIdleMachine) {
    TempDir tmp;
    const common::AppDir app(tmp.path() / "app");
    machine::RecordingDialog dialog;
    app::SimulatedSession session(app, KORVEL_RESOURCES_DIR, dialog);
    auto& p = session.machine().params();
    p.FeedType = 2;
    p.GripperStroke = 100;
    auto& run = session.machine().run();

    session.feedButton(false, true);
    EXPECT_NE(run.ActionRunActive, 0) << "the jog program runs while the button is held";
    EXPECT_EQ(session.card().get_out(0, 3), 0) << "the clamp lets the strip go";
    session.clock().runFor(600);
    session.feedButton(false, false);
    EXPECT_EQ(run.ActionRunActive, 0);

    run.loadLines({"G04 P3000", "M10"}, machine::RunKind::Job);
    session.clock().step();
    session.feedButton(false, true);
    session.feedButton(false, false);
    EXPECT_NE(run.JobRunActive, 0);
    EXPECT_TRUE(dialog.entries().empty());
}

} // namespace
} // namespace korvel::test
