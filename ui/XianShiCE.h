#pragma once
// The caption loader every window calls when it opens and after a language
// switch: the window's captions in the current language, applied to its
// controls by their object names.

#include "app/Captions.h"
#include "common/AppDir.h"

#include <QString>
#include <string_view>

class QWidget;

namespace korvel::ui {

// Applies the captions of `table` (see app::LoadCaptions) to `window`: the
// title line sets the window title followed by `titleSuffix` (the version,
// or the current parameter group's name); every other key names a child by
// its object name (buttons, labels, text boxes, group boxes, menus and menu
// entries take it as their text), "Name#i" is tab i of the tab bar or tab
// widget called Name.
void XianShiCE(QWidget& window, const app::CaptionTable& table, const common::AppDir& app,
               std::string_view fileName, int languageFlag, const QString& titleSuffix = {});

// The same for a caption already loaded (one control or the title).
void ApplyCaption(QWidget& window, const app::CaptionText& caption,
                  const QString& titleSuffix = {});

} // namespace korvel::ui
