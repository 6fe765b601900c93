#pragma once
// The parameter values that selection and path preparation take from the
// parameter set of an application folder: the current group as loaded at
// start-up when the folder has its ParaGroup.ini, otherwise the factory
// values (a folder that only holds an imported drawing).

#include "common/AppDir.h"
#include "common/Message.h"
#include "geometry/OutlineParameters.h"
#include "machine/ParameterSet.h"

namespace korvel::app {

struct OutlineParams {
    geometry::ControlPointParameters control;
    geometry::PathParameters path;
};

// The values of a loaded parameter set.
OutlineParams OutlineParamsOf(const machine::ParameterSet& params);

// Problems while loading are printed to standard error.
OutlineParams LoadOutlineParams(const common::AppDir& app, common::Language lang);

} // namespace korvel::app
