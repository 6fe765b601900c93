// korvel-cli generate --appdir DIR [--runs R] [--join J] [--end E] [--home]
// [--encoder] [--no-bend] [--from-piece N]: presses the run button on the application folder
// as the operator window does. The machine is the simulated card in its
// power-on state; the checks read it, the program goes to G5.dat. Prints
// the line count and the two length labels, or the message that stopped
// the job (exit code 1). --from-piece N restarts a stopped job at piece N:
// homing first, then the rest of the letter and the later letters.

#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "cli/FolderGroups.h"
#include "cli/Output.h"
#include "common/AppDir.h"
#include "common/Message.h"
#include "machine/RunState.h"
#include "machine/SimMachine.h"
#include "machine/SimulatedCard.h"
#include "program/JobRun.h"

#include <iostream>

namespace korvel::cli {

int RunGenerate(const Args& rawArgs) {
    const CliArgs args(rawArgs, {"home", "encoder", "no-bend"});
    const common::AppDir app(args.appDir());
    machine::ParameterSet params;
    machine::ParameterTables tables;
    LoadFolderGroups(app, args, params, tables);

    program::MainWindowFields fields;
    fields.Text5 = args.value("runs", "1");
    fields.Text4 = args.value("join", "10");
    fields.Text7 = args.value("end", "0");
    fields.Check2 = args.has("home");
    fields.Check3 = args.has("encoder");
    fields.Check5 = args.has("no-bend");

    machine::SimulatedCard card(
        machine::SimMachine::fromFile(machine::readSimMachineFile(app), params));
    card.adt8940a1_initial();
    machine::RunState state;
    program::MarkedPoints marked;
    program::JobRun run(app, params, tables, fields, marked);
    if (args.has("from-piece")) {
        run.startAtPiece(static_cast<int>(args.wholeNumber("from-piece", 1, 1, 32767)));
    }
    const program::JobOutcome outcome = run.Command_Run(card, state);
    if (outcome.message) {
        PrintMessage(*outcome.message, args.language());
        return 1;
    }
    if (!outcome.started) {
        std::cout << "nothing selected: CtrP.dat is empty\n";
        return 0;
    }
    std::cout << "lines " << outcome.lineCount << "\n";
    std::cout << "selected length " << outcome.selectedLabel << "\n";
    std::cout << "total length " << outcome.totalLabel << "\n";
    return 0;
}

} // namespace korvel::cli
