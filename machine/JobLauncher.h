#pragma once
// What the executor asks of the application around it. The machine layer
// knows how to run a loaded program but not how to write one: the run
// command generates the job from the prepared path, the jog programs come
// from the program writers. The application (window or command line)
// implements this and loads the program it writes into the run state, so
// the executor picks it up on its next tick.

#include "common/Message.h"

namespace korvel::machine {

class JobLauncher {
public:
    virtual ~JobLauncher() = default;

    // The start button (IN13) on an idle machine: the run command, which
    // generates and loads a new job (RunState::runCommand() decides).
    virtual void startJob() = 0;
    // Yes to "加工完成！送料是否回零？": the feed-return jog program.
    virtual void startFeedReturn() = 0;
    // The machine's feed and retract buttons (IN18/IN19, or IN22/IN23 when
    // the infeed limit switches are in use): pressed and released.
    virtual void feedButton(bool retract, bool pressed) = 0;
    // The automatic tool-setting button (IN15), when the machine supports it.
    virtual void startToolSetting() {}
    // A job has finished and its path was appended to YJG.dat: the window
    // returns its run controls to idle and redraws the view.
    virtual void jobFinished() {}
    // A job run is being stopped, by the stop command or by `alarm` (null
    // for the stop command); called before the machine is brought to rest.
    virtual void jobStopped(const common::Message* /*alarm*/) {}
};

} // namespace korvel::machine
