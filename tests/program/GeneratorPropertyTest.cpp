// Random closed letters: whatever the outline, the program must read back
// with the dialect's word splitter, feed only to finite targets, cut each
// slot where its corner is, and end where the path, the joins, the
// compensations, the run-out and the end feed add up to.

#include "ProgramTestSupport.h"
#include "common/Basic.h"
#include "geometry/PlaneGeometry.h"
#include "machine/Dialect.h"
#include "program/ProgramGenerator.h"

#include <cmath>
#include <gtest/gtest.h>
#include <iostream>
#include <random>
#include <regex>
#include <set>

namespace korvel::program {
namespace {

using geometry::Point2;
using geometry::TurnAngle;
using namespace korvel::program::test;

struct Letter {
    std::vector<Point2> corners; // closed: the first is not repeated
    geometry::PathRecords path;
    double turnAt(size_t k) const {
        const size_t m = corners.size();
        return TurnAngle(corners[(k + m - 1) % m], corners[k], corners[(k + 1) % m]);
    }
};

// A star-shaped polygon around the origin, so it never crosses itself.
Letter randomLetter(std::mt19937& rng) {
    std::uniform_int_distribution<int> count(3, 12);
    std::uniform_real_distribution<double> radius(20, 200);
    std::uniform_real_distribution<double> jitter(0.2, 1.0);
    Letter letter;
    const int n = count(rng);
    double angle = 0;
    for (int i = 0; i < n; ++i) {
        angle += 2 * geometry::kPi / n * jitter(rng) * 1.5;
        if (angle >= 2 * geometry::kPi) {
            break;
        }
        const double r = radius(rng);
        letter.corners.push_back({r * std::cos(angle), r * std::sin(angle)});
    }
    if (letter.corners.size() < 3) {
        letter.corners = {{0, 0}, {100, 0}, {0, 100}};
    }
    const auto& c = letter.corners;
    letter.path = {header(letter.turnAt(0)), plain(c[0].x, c[0].y)};
    for (size_t k = 1; k < c.size(); ++k) {
        addCorner(letter.path, c[k].x, c[k].y, letter.turnAt(k));
    }
    letter.path.push_back(plain(c[0].x, c[0].y));
    letter.path.push_back(trailer(letter.turnAt(0)));
    return letter;
}

// Feed positions of the slots and of the end of the program.
struct Feeds {
    std::vector<double> slots;
    double finalFeed = 0;
};

// The feed positions worked out from the outline alone.
Feeds expectedFeeds(const Letter& letter, const machine::ParameterSet& p, const RunPanel& panel) {
    const auto& c = letter.corners;
    const size_t m = c.size();
    auto radiusCut = [&](double t) {
        if (!(t > 0.1 && t < 179.9)) {
            return 0.0;
        }
        const double r = p.EngraveCutterRadius;
        const double half = (180.0 - t) / 2 * geometry::kPi / 180;
        return p.CutterRadiusCompFactor * (r / std::tan(half) - r * t / 2 * geometry::kPi / 180);
    };
    const double joint = letter.turnAt(0);
    Feeds e;
    double pos = 0;
    for (int pass = 1; pass <= panel.repeatCount; ++pass) {
        e.slots.push_back(pos);
        for (size_t k = 0; k < m; ++k) {
            double len = geometry::Distance(c[k], c[(k + 1) % m]);
            if (pass == 1 && k == 0) {
                len += p.StartSegmentComp;
            }
            if (k == 0 && radiusCut(joint) > 0.01) {
                len -= radiusCut(joint);
            }
            if (k == m - 1) {
                if (pass == 1) {
                    len += p.EndSegmentComp;
                }
                len -= radiusCut(joint);
            }
            pos += len;
            if (k + 1 < m && std::abs(letter.turnAt(k + 1)) >= p.SlotAngleThreshold &&
                std::abs(letter.turnAt(k + 1)) >= p.CornerArcAngleThreshold) {
                e.slots.push_back(pos);
            }
        }
        e.slots.push_back(pos);
        if (pass < panel.repeatCount) {
            pos += panel.joinLength;
        }
    }
    e.finalFeed = pos + p.BendToSlotDistance + panel.endFeed;
    return e;
}

const std::regex kNumber(R"(-?\d+(\.\d+)?)");

// Reads the program back the way the interpreter splits it.
Feeds readBack(const common::Lines& lines) {
    static const std::set<std::string> kCodes{"00", "10", "11", "12", "13", "14", "15", "16",
                                              "17", "18", "19", "20", "21", "22", "23", "24",
                                              "25", "30", "34", "36", "38", "40", "42", "100"};
    Feeds o;
    double x = 0;
    for (const auto& line : lines) {
        const machine::Words w = machine::splitWords(line);
        EXPECT_TRUE(w.has(machine::Word::G) || w.has(machine::Word::M) || w.has(machine::Word::X) ||
                    w.has(machine::Word::Y) || w.has(machine::Word::Z) || w.has(machine::Word::A))
            << "line does nothing: " << line;
        if (w.has(machine::Word::M)) {
            EXPECT_TRUE(kCodes.count(w[machine::Word::M]) == 1) << line;
        }
        for (auto word : {machine::Word::X, machine::Word::Y, machine::Word::A}) {
            if (w.has(word)) {
                EXPECT_TRUE(std::regex_match(w[word], kNumber)) << line;
            }
        }
        if (w.has(machine::Word::X) && w[machine::Word::G] != "92") {
            x = machine::wordValue(w[machine::Word::X]);
            EXPECT_TRUE(std::isfinite(x)) << line;
        }
        if (line == "M16") {
            o.slots.push_back(x);
        }
    }
    o.finalFeed = x;
    return o;
}

TEST(GeneratorProperties, RandomClosedLetters) {
    std::mt19937 rng(20261205);
    std::uniform_real_distribution<double> comp(-2, 2);
    std::uniform_int_distribution<int> repeats(1, 3);
    std::uniform_real_distribution<double> length(0, 30);
    for (int round = 0; round < 200; ++round) {
        const Letter letter = randomLetter(rng);
        auto p = plainParams();
        p.StartSegmentComp = comp(rng);
        p.EndSegmentComp = comp(rng);
        p.EngraveCutterRadius = std::abs(comp(rng));
        p.TapAtSlot = round % 2;
        const RunPanel panel{repeats(rng), length(rng), length(rng)};
        const auto result = generateJob(p, plainTables(), letter.path, panel);
        ASSERT_FALSE(result.refusal.has_value()) << round;

        const Feeds expected = expectedFeeds(letter, p, panel);
        const Feeds observed = readBack(result.lines);
        ASSERT_EQ(observed.slots.size(), expected.slots.size()) << "round " << round;
        for (size_t i = 0; i < expected.slots.size(); ++i) {
            EXPECT_NEAR(observed.slots[i], expected.slots[i], 6e-4)
                << "round " << round << " slot " << i;
        }
        EXPECT_NEAR(observed.finalFeed, expected.finalFeed, 6e-4) << "round " << round;
        EXPECT_NEAR(result.finalPosition, expected.finalFeed, 1e-9) << "round " << round;
    }
}

// Broken paths and odd machines: whatever comes in, the generator ends,
// and either writes a program within the limit or refuses the job.
TEST(GeneratorProperties, RandomRecordsNeverHangOrOverrun) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> coord(-500, 500);
    std::uniform_real_distribution<double> value(-200, 200);
    std::uniform_int_distribution<int> type(0, 6);
    std::uniform_int_distribution<int> small(0, 3);
    std::uniform_int_distribution<int> records(0, 300);
    const std::string letters = "UDPNFBX";
    int written = 0;
    for (int round = 0; round < 150; ++round) {
        auto p = plainParams();
        p.FeedType = static_cast<std::int16_t>(small(rng) % 3);
        p.GripperStroke = small(rng) * 40.0;
        p.BenderType = static_cast<std::int16_t>(small(rng));
        p.CycleCount = static_cast<std::int16_t>(small(rng) * 2);
        p.InfeedControl = static_cast<std::int16_t>(small(rng) % 2);
        p.CutOffStroke = small(rng);
        p.TapAtSlot = static_cast<std::int16_t>(small(rng) % 2);
        p.StartSegmentComp = value(rng) / 10;
        p.EndSegmentComp = value(rng) / 10;
        p.EngraveCutterRadius = small(rng);
        p.LiftBenderAngle = 15;
        p.LiftGiveWayDistance = small(rng) * 10.0;
        p.SlotActionOrder.clear();
        for (int i = small(rng) + 1; i > 0; --i) {
            p.SlotActionOrder += letters[static_cast<size_t>(type(rng))];
        }
        geometry::PathRecords path;
        for (int i = records(rng); i > 0; --i) {
            const int t = type(rng);
            if (t == geometry::kBlockLine) {
                path.push_back(geometry::PathRecord::blockLine(value(rng), small(rng)));
            } else {
                path.push_back(geometry::PathRecord::point(coord(rng), coord(rng),
                                                           static_cast<std::int16_t>(t), value(rng),
                                                           value(rng) / 50, value(rng) / 100));
            }
        }
        const RunPanel panel{1 + small(rng), value(rng) / 10, value(rng) / 10};
        const auto result = generateJob(p, plainTables(), path, panel);
        if (result.refusal) {
            EXPECT_TRUE(result.lines.empty());
            continue;
        }
        ++written;
        EXPECT_LE(result.lines.size(), static_cast<size_t>(kMaxJobLines)) << round;
        for (const auto& line : result.lines) {
            const machine::Words w = machine::splitWords(line);
            if (w.has(machine::Word::X)) {
                EXPECT_TRUE(std::regex_match(w[machine::Word::X], kNumber)) << line;
            }
        }
    }
    std::cout << "programs written " << written << " of 150\n";
    EXPECT_GT(written, 50); // most broken paths still give a program
}

} // namespace
} // namespace korvel::program
