// korvel-cli select: picks outline pieces of the drawing in an application
// folder as the operator does with the mouse, appends them to
// PointForControl.dat and prepares CtrP.dat. A new selection replaces the
// previous one unless --append is given.

#include "app/OutlineParams.h"
#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "common/AppDir.h"
#include "common/Basic.h"
#include "common/Message.h"
#include "geometry/LetterSelection.h"
#include "geometry/OutlineSession.h"
#include "geometry/PathLengths.h"

#include <iostream>
#include <sstream>

namespace korvel::cli {
namespace {

struct PieceChoice {
    int outline = 0;
    int start = 0;
    int end = 0;
    bool shift = false;
};

common::UserError badPiece(const std::string& text) {
    return common::UserError(common::error(
        "轮廓段应写成 轮廓:起始节点:结束节点[:shift]：" + text,
        "A piece is written OUTLINE:START:END[:shift] (node ordinals within the outline): " +
            text));
}

// One field of a piece: what it is called in a message and its range.
struct PieceField {
    const char* zh;
    const char* en;
    int lo;
    int hi;
};
// Outline numbers are the drawing's 16-bit header numbers; node ordinals
// count from 1 within an outline.
constexpr PieceField kOutlineField{"轮廓号", "outline number", -32768, 32767};
constexpr PieceField kNodeField{"节点序号", "node ordinal", 1,
                                static_cast<int>(geometry::OutlineModel::kMaxNodes)};

int wholeNumber(const std::string& text, const std::string& piece, const PieceField& field) {
    if (text.empty() || text.find_first_not_of("-0123456789") != std::string::npos) {
        throw badPiece(piece);
    }
    // Range first: a long digit run does not fit an int.
    const double v = common::Val(text);
    if (!(v >= field.lo && v <= field.hi)) {
        const std::string range = std::to_string(field.lo) + " .. " + std::to_string(field.hi);
        throw common::UserError(common::error("轮廓段 " + piece + " 的" + field.zh + " " + text +
                                                  " 超出范围（" + range + "）",
                                              "Piece " + piece + ": the " + field.en + " " + text +
                                                  " is out of range (" + range + ")"));
    }
    return static_cast<int>(v);
}

PieceChoice parsePiece(const std::string& text) {
    std::vector<std::string> parts;
    std::stringstream in(text);
    for (std::string part; std::getline(in, part, ':');) {
        parts.push_back(part);
    }
    if (parts.size() < 3 || parts.size() > 4 || (parts.size() == 4 && parts[3] != "shift")) {
        throw badPiece(text);
    }
    return {wholeNumber(parts[0], text, kOutlineField), wholeNumber(parts[1], text, kNodeField),
            wholeNumber(parts[2], text, kNodeField), parts.size() == 4};
}

std::int32_t nodeOf(const geometry::OutlineModel& model, const PieceChoice& piece, int ordinal) {
    const auto& outlines = model.outlines();
    for (std::size_t i = 0; i < outlines.size(); ++i) {
        if (outlines[i].number != piece.outline) {
            continue;
        }
        const std::int32_t node = model.nodeByOrdinal(i, ordinal);
        if (node == 0) {
            const std::string n = std::to_string(outlines[i].nodeCount());
            throw common::UserError(common::error(
                "轮廓 " + std::to_string(piece.outline) + " 只有 " + n + " 个节点",
                "Outline " + std::to_string(piece.outline) + " has " + n + " nodes only"));
        }
        return node;
    }
    throw common::UserError(
        common::error("图形中没有轮廓 " + std::to_string(piece.outline),
                      "The drawing has no outline " + std::to_string(piece.outline)));
}

void printPieces(const geometry::OutlineSession& session) {
    const auto& sel = session.selection();
    const auto& model = session.model();
    for (std::size_t i = 0; i < sel.completedCount(); ++i) {
        const auto& e = sel.entry(i);
        const auto& start = model.node(e.startNode);
        std::cout << "piece " << i + 1 << ": outline " << start.outline << " nodes "
                  << start.ordinal << "-" << model.node(e.endNode).ordinal
                  << (e.mode == 3 ? " counter-clockwise" : " clockwise") << "\n";
    }
}

} // namespace

int RunSelect(const Args& rawArgs) {
    const CliArgs args(rawArgs, {"all", "append"});
    const common::AppDir app(args.appDir());
    if (!args.has("all") && args.positional().empty()) {
        throw common::UserError(
            common::error("请给出 --all 或要选择的轮廓段", "Give --all or the pieces to select"));
    }
    // Every piece is read before the drawing is looked at, and found in the
    // drawing before anything is written.
    std::vector<PieceChoice> pieces;
    for (const auto& text : args.positional()) {
        pieces.push_back(parsePiece(text));
    }
    const app::OutlineParams params = app::LoadOutlineParams(app, args.language());
    geometry::OutlineSession session(app, params.control, params.path);
    session.setLanguage(args.language());
    session.openDrawing();
    std::vector<geometry::PiecePick> picks;
    if (args.has("all")) {
        picks = geometry::WholeLetterPieces(session.model());
    }
    for (const auto& piece : pieces) {
        picks.push_back({nodeOf(session.model(), piece, piece.start),
                         nodeOf(session.model(), piece, piece.end), piece.shift});
    }
    session.selectPieces(picks, args.has("append"));
    const auto& result = session.lastPreparation();
    std::cout << "pieces " << session.selection().completedCount() << "\n";
    printPieces(session);
    if (result.prepared) {
        std::cout << "total length " << geometry::LengthLabel(result.totalLength) << "\n";
    }
    return 0;
}

} // namespace korvel::cli
