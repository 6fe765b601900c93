#include "app/JobPreview.h"

#include "common/Message.h"
#include "common/TextFile.h"
#include "geometry/PathFile.h"
#include "program/JobRun.h"
#include "program/ProgramGenerator.h"

#include <filesystem>
#include <string>

namespace korvel::app {

void RequireJobFiles(const common::AppDir& app) {
    for (const char* name : {"G5.dat", "CtrP.dat"}) {
        std::error_code ec;
        if (!std::filesystem::exists(app.file(name), ec)) {
            throw common::UserError(
                common::error(std::string("应用文件夹中没有") + name + "，请先生成加工程序",
                              std::string("The application folder holds no ") + name +
                                  ": generate the job first"));
        }
    }
}

program::BendPreview PreviewFolderJob(const common::AppDir& app,
                                      const machine::ParameterSet& params,
                                      const machine::ParameterTables& tables) {
    RequireJobFiles(app);
    return program::MakeBendPreview(common::ReadLines(app.file("G5.dat")),
                                    geometry::ReadPathFile(app.file("CtrP.dat")), params, tables);
}

program::BendPreview
PreviewSelectedJob(const common::AppDir& app, const machine::ParameterSet& params,
                   const machine::ParameterTables& tables, const program::MainWindowFields& fields,
                   const program::MarkedPoints& marked, machine::MotionCard& card) {
    program::RunPanel panel;
    if (auto bad = program::JobRun::readRunPanel(fields, panel)) {
        throw common::UserError(*bad);
    }
    const geometry::PathRecords path = geometry::ReadPathFile(app.file("CtrP.dat"));
    program::ProgramGenerator generator(params, tables, fields, panel, marked);
    program::GeneratedProgram program = generator.generate(path, card);
    if (program.refusal) {
        throw common::UserError(*program.refusal);
    }
    return program::MakeBendPreview(program.lines, path, params, tables);
}

} // namespace korvel::app
