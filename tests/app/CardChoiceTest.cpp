// The card a session runs on: Card.ini and --card, the driver library
// through LibraryCard on the test driver (whole letters call for call against
// the simulated card), and every way a driver can be unusable, each ending
// on the simulated machine with the no-card message naming the cause.

#include "app/CardChoice.h"

#include "DriverCopy.h"
#include "app/DrawingSteps.h"
#include "app/SimulatedSession.h"
#include "common/TextFile.h"
#include "machine/RecordingDialog.h"
#include "support/TempDir.h"

#include <array>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace korvel::test {
namespace {

namespace fs = std::filesystem;
using app::CardKind;
using app::CardSettings;

// --- settings -------------------------------------------------------------------

TEST(CardSettingsFile, ReadsWhatTheMachineMakerWroteAndRefusesTheRest) {
    struct Good {
        std::string text;
        CardSettings expected;
    };
    const Good good[] = {
        {"", {}},
        {"card = library\r\nlibrary = drivers/libcard.so\r\ncardnumber = 3\r\n",
         {CardKind::Library, "drivers/libcard.so", 3}},
        {"; our machine\r\nCARD=Simulated\r\n# spare\r\n  Library =  /opt/a b/lib.so  \r\n",
         {CardKind::Simulated, "/opt/a b/lib.so", 0}},
    };
    for (const Good& row : good) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(app::ParseCardSettings(row.text), row.expected);
    }

    struct Bad {
        std::string text;
        std::string message;
    };
    const Bad bad[] = {
        {"card = pci", "Card.ini line 1 cannot be read: card = pci (card is simulated or library)"},
        {"card = library\r\ncardnumber = 16",
         "Card.ini line 2 cannot be read: cardnumber = 16 (the card number is a whole number from "
         "0 to 15)"},
        {"cardnumber = 1.5", "Card.ini line 1 cannot be read: cardnumber = 1.5 (the card number"},
        {"cardnumber = -1", "Card.ini line 1 cannot be read: cardnumber = -1 (the card number"},
        {"speed = 3", "Card.ini line 1 cannot be read: speed = 3"},
        {"\r\ncard library", "Card.ini line 2 cannot be read: card library"},
        {"card = library", "Card.ini chooses a driver library but gives no library path"},
    };
    for (const Bad& row : bad) {
        SCOPED_TRACE(row.text);
        try {
            app::ParseCardSettings(row.text);
            ADD_FAILURE() << "accepted";
        } catch (const common::UserError& e) {
            EXPECT_EQ(e.message().en.substr(0, row.message.size()), row.message);
            EXPECT_FALSE(e.message().zh.empty());
        }
    }
}

TEST(CardSettingsFile, OptionOverridesTheCardButKeepsItsNumber) {
    const CardSettings fromFile{CardKind::Library, "drivers/libcard.so", 2};
    const common::AppDir dir("/srv/korvel");
    EXPECT_EQ(fromFile.libraryPath(dir), fs::path("/srv/korvel/drivers/libcard.so"));
    EXPECT_EQ(app::ApplyCardOption(fromFile, "simulated").kind, CardKind::Simulated);
    const CardSettings typed = app::ApplyCardOption(fromFile, "library:lib/x.so");
    EXPECT_EQ(typed.kind, CardKind::Library);
    EXPECT_EQ(typed.cardNumber, 2);
    // A path typed on the command line is meant from the working folder.
    EXPECT_EQ(typed.libraryPath(dir), fs::current_path() / "lib/x.so");
    for (const char* option : {"library:", "sim", "", "Library:/x.so"}) {
        SCOPED_TRACE(option);
        EXPECT_THROW(app::ApplyCardOption(fromFile, option), common::UserError);
    }
    // The window finds the option among its arguments.
    using Args = std::vector<std::string>;
    EXPECT_EQ(app::CardOptionOf({"korvel", "--card", "simulated"}), "simulated");
    EXPECT_EQ(app::CardOptionOf({"korvel", "--card=library:/x.so", "--card", "simulated"}),
              "library:/x.so");
    EXPECT_EQ(app::CardOptionOf(Args{"korvel", "--cards", "x"}), std::nullopt);
    EXPECT_THROW(app::CardOptionOf({"korvel", "--card"}), common::UserError);
}

// --- sessions on a chosen card ----------------------------------------------------

// A session in a fresh application folder on the card ChooseCard gives.
struct CardSession {
    TempDir tmp;
    common::AppDir app{tmp.path() / "app"};
    machine::RecordingDialog dialog{false};
    app::DrawingSteps drawing;
    std::unique_ptr<app::SimulatedSession> session;

    explicit CardSession(const std::optional<std::string>& option,
                         const common::Lines& cardIni = {}) {
        if (!cardIni.empty()) {
            app.create();
            common::WriteLines(app.file("Card.ini"), cardIni);
        }
        start(app::ChooseCard(app, KORVEL_RESOURCES_DIR, option));
    }
    // The simulated card, recording every call from its start.
    CardSession() {
        app::CardChoice choice = app::ChooseSimulatedCard(app, KORVEL_RESOURCES_DIR);
        choice.simulated->setRecording(machine::RecordLevel::All);
        start(std::move(choice));
    }
    void start(app::CardChoice choice) {
        session = std::make_unique<app::SimulatedSession>(app, KORVEL_RESOURCES_DIR, dialog,
                                                          std::move(choice), drawing.tranParas());
    }

    // Opens a bundled letter, selects it whole and presses the run button.
    void startLetter(const std::string& letter) {
        drawing.open(app, fs::path(KORVEL_EXAMPLES_DIR) / letter, -1.0,
                     session->machine().params().SlotAngleThreshold);
        app::SelectWholeLetter(app);
        session->fields().Text7 = "30";
        session->startJob();
        ASSERT_TRUE(session->lastJob() && session->lastJob()->started);
    }
    bool runToEnd() { return session->runToEnd(400000); }

    int messagesContaining(const std::string& en) const {
        int count = 0;
        for (const auto& entry : dialog.entries()) {
            count += entry.message.en.find(en) != std::string::npos ? 1 : 0;
        }
        return count;
    }
    std::array<std::int32_t, 4> positions() {
        std::array<std::int32_t, 4> p{};
        for (int axis = 1; axis <= 4; ++axis) {
            p[static_cast<size_t>(axis - 1)] = session->motionCard().get_command_pos(0, axis);
        }
        return p;
    }
    std::array<int, 12> outputs() {
        std::array<int, 12> o{};
        for (int output = 0; output < 12; ++output) {
            o[static_cast<size_t>(output)] = session->motionCard().get_out(0, output);
        }
        return o;
    }
};

// The first line where two recordings part, or "" when they are the same.
std::string firstDifference(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        if (a[i] != b[i]) {
            return "line " + std::to_string(i) + ": " + a[i] + " | " + b[i];
        }
    }
    return a.size() == b.size()
               ? ""
               : "lengths " + std::to_string(a.size()) + " and " + std::to_string(b.size());
}

class LibraryCardLetter : public testing::TestWithParam<std::string> {};

TEST_P(LibraryCardLetter, RunsCallForCallLikeTheSimulatedCard) {
    CardSession direct;
    direct.startLetter(GetParam());
    ASSERT_TRUE(direct.runToEnd());

    DriverCopy driver;
    driver.record();
    CardSession library(driver.option());
    EXPECT_EQ(library.session->simulatedCard(), nullptr);
    // The shipped Card.ini reads, and the card opened without a word.
    EXPECT_TRUE(library.dialog.entries().empty());
    EXPECT_EQ(library.session->cardDescription().en,
              "Card driver " + driver.file().string() +
                  ", card 0 (simulator driver, virtual time)");
    library.startLetter(GetParam());
    ASSERT_TRUE(library.runToEnd());

    const auto expected = direct.session->card().recordingLines();
    EXPECT_GT(expected.size(), 10000u);
    EXPECT_EQ(firstDifference(expected, driver.recording()), "");
    EXPECT_EQ(library.positions(), direct.positions());
    EXPECT_EQ(library.outputs(), direct.outputs());
    EXPECT_EQ(library.session->clock().ticks(), direct.session->clock().ticks());
    EXPECT_EQ(library.messagesContaining("Work Finished"), 1);
}

INSTANTIATE_TEST_SUITE_P(Letters, LibraryCardLetter, testing::Values("letterD.dxf", "ringO.dxf"));

TEST(LibraryCardJob, CardNumberReachesEveryCallAndTheDriverOutlivesItsFile) {
    DriverCopy driver;
    driver.setCards(3);
    CardSession library(driver.option(), {"cardnumber = 2"});
    EXPECT_NE(library.session->cardDescription().en.find(", card 2 "), std::string::npos);
    // Loaded once and resolved once: the file may go.
    fs::remove(driver.file());
    library.startLetter("ringO.dxf");
    ASSERT_TRUE(library.runToEnd());
    EXPECT_EQ(library.messagesContaining("Work Finished"), 1);
    EXPECT_GT(driver.calls(), 1000);
    EXPECT_EQ(driver.calls(2), driver.calls());
}

// --- error codes while a job runs ---------------------------------------------------

TEST(LibraryCardJob, AFunctionFailingOnEveryCallStopsTheJobOnceWithItsName) {
    for (const char* function : {"get_status", "read_bit", "pmove", "write_bit"}) {
        SCOPED_TRACE(function);
        DriverCopy driver;
        CardSession library(driver.option());
        library.startLetter("letterD.dxf");
        // A few ticks into the job, the driver starts refusing.
        library.session->clock().runFor(3000);
        driver.fail(function, -7);
        ASSERT_TRUE(library.runToEnd()) << "the job went on";
        EXPECT_EQ(library.messagesContaining("Motion card error: " + std::string(function) +
                                             " returned error code -7; the machine was stopped"),
                  1);
        EXPECT_EQ(library.messagesContaining("Work Finished"), 0);
        // The driver goes on refusing while the machine stands: no further
        // message, and a new start is stopped again.
        library.session->clock().runFor(3000);
        library.session->startJob();
        library.runToEnd();
        EXPECT_EQ(library.messagesContaining("returned error code -7"), 2);
    }
}

// --- drivers that cannot be used ----------------------------------------------------

void writeElfHeader(const fs::path& file, unsigned char elfClass, unsigned char machine) {
    // Identification, then type 3 (shared object) and the machine, little
    // endian; the loader is never reached, so the rest can be zero.
    std::array<unsigned char, 64> header{0x7f, 'E', 'L', 'F', elfClass, 1, 1};
    header[16] = 3;
    header[18] = machine;
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(header.data()), header.size());
}

TEST(LibraryCardFallback, EachUnusableDriverEndsOnTheSimulatedMachineSayingWhy) {
    struct Row {
        std::string name;
        // Sets the folder up; returns the --card option.
        std::function<std::string(const fs::path& folder, DriverCopy& driver)> setUp;
        std::string why;
        common::Lines cardIni;
    };
    const Row rows[] = {
        {"missing library",
         [](const fs::path&, DriverCopy&) { return "library:/nonexistent/libx.so"; },
         "driver library /nonexistent/libx.so not found",
         {}},
        {"text file",
         [](const fs::path& folder, DriverCopy&) {
             common::WriteLines(folder / "libtext.so", {"not a library"});
             return "library:" + (folder / "libtext.so").string();
         },
         "libtext.so is not a shared library",
         {}},
        {"other processor",
         [](const fs::path& folder, DriverCopy&) {
             writeElfHeader(folder / "libarm.so", 2, 183);
             return "library:" + (folder / "libarm.so").string();
         },
         "libarm.so is built for another processor (183 AArch64 64-bit; this program needs",
         {}},
        {"32-bit",
         [](const fs::path& folder, DriverCopy&) {
             writeElfHeader(folder / "lib32.so", 1, 3);
             return "library:" + (folder / "lib32.so").string();
         },
         "lib32.so is built for another processor (3 x86 32-bit;",
         {}},
        {"function missing",
         [](const fs::path&, DriverCopy&) {
             static DriverCopy old(KORVEL_TEST_CARD_DRIVER_OLD);
             return old.option();
         },
         "lacks the function get_speed",
         {}},
        {"no card found",
         [](const fs::path&, DriverCopy& driver) {
             driver.setCards(0);
             return driver.option();
         },
         "found no card (adt8940a1_initial returned 0)",
         {}},
        {"card number not fitted",
         [](const fs::path&, DriverCopy& driver) { return driver.option(); },
         "card number 1 is not fitted",
         {"cardnumber = 1"}},
        {"broken Card.ini",
         [](const fs::path&, DriverCopy&) { return ""; },
         "Card.ini line 1 cannot be read: card = yes",
         {"card = yes"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir folder;
        DriverCopy driver;
        const std::string option = row.setUp(folder.path(), driver);
        CardSession session(option.empty() ? std::nullopt : std::optional(option), row.cardIni);
        EXPECT_EQ(session.messagesContaining("8940A1 motion card is not installed correctly: "), 1);
        EXPECT_EQ(session.messagesContaining(row.why), 1) << session.dialog.entries()[0].message.en;
        EXPECT_EQ(session.messagesContaining("Running on the simulated machine."), 1);
        ASSERT_NE(session.session->simulatedCard(), nullptr);
        EXPECT_TRUE(session.session->machine().cardPresent());
        EXPECT_EQ(session.session->cardDescription().en,
                  "Simulated machine (motion card not ready)");
        // Nothing beyond the initialisation reached the driver.
        EXPECT_EQ(driver.calls(), 0);
    }
}

} // namespace
} // namespace korvel::test
