#pragma once
// A fresh application folder with a drawing written into it, imported
// through the same operation the open command and korvel-cli use.

#include "DxfTestText.h"
#include "common/AppDir.h"
#include "common/Message.h"
#include "common/TextFile.h"
#include "geometry/CoreAlgorithm.h"
#include "geometry/ImportDxf.h"
#include "geometry/OutlineFiles.h"
#include "support/TempDir.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace korvel::test {

class ImportFixture : public ::testing::Test {
protected:
    ImportFixture() : m_app(m_dir.path() / "app") { m_app.create(); }

    std::filesystem::path writeDrawing(const std::string& name, const std::string& bytes) {
        const auto file = m_dir.path() / name;
        std::ofstream out(file, std::ios::binary);
        out << bytes;
        return file;
    }

    geometry::ImportSummary import(const std::filesystem::path& drawing, int densify = 10) {
        m_core.TranParas(0.0, 0.0, 0.0, static_cast<std::int16_t>(densify), 22.5, 105.0);
        return geometry::ImportDxf(m_app, drawing, m_core);
    }

    // Writes the splines as a drawing with the given line ends and imports it.
    geometry::ImportSummary importSplines(const std::vector<SplineSpec>& splines, int densify = 10,
                                          const char* lineEnd = "\n") {
        return import(writeDrawing("d.dxf", joinDxf(drawingLines(splines), lineEnd)), densify);
    }

    // The import of `drawing` is refused with `en`, and the display file of
    // the drawing imported before stays as it was.
    void expectRefusedKeepingDisplay(const std::filesystem::path& drawing, int densify,
                                     const std::string& en) {
        const std::string before = displayBytes();
        try {
            import(drawing, densify);
            ADD_FAILURE() << drawing << " was accepted with densify " << densify;
        } catch (const common::UserError& e) {
            EXPECT_EQ(e.message().en, en);
        }
        EXPECT_EQ(displayBytes(), before);
    }

    std::string displayBytes() const {
        return common::ReadBytes(m_app.file(geometry::kDisplayFile));
    }
    common::Lines displayLines() const {
        return common::ReadLines(m_app.file(geometry::kDisplayFile));
    }

    TempDir m_dir;
    common::AppDir m_app;
    geometry::CoreAlgorithm m_core;
};

} // namespace korvel::test
