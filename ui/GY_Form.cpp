#include "ui/GY_Form.h"

#include "app/ProcessRules.h"
#include "app/SetupCaptions.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <map>

namespace korvel::ui {
namespace {

// The label beside each Text1(i), by the caption file's control names.
const std::map<int, const char*> kLabelOf = {
    {0, "Label1"},     {1, "Label2"},     {2, "Label3"},     {3, "Label4"},     {4, "Label5_0"},
    {16, "Label5_1"},  {5, "Label6_0"},   {15, "Label6_1"},  {6, "Label7"},     {7, "Label8"},
    {8, "Label9"},     {9, "Label10"},    {10, "Label11"},   {14, "Label16"},   {13, "Label15"},
    {12, "Label14"},   {11, "Label13"},   {23, "Label5_8"},  {17, "Label5_2"},  {18, "Label5_3"},
    {19, "Label5_4"},  {20, "Label5_5"},  {21, "Label5_6"},  {22, "Label5_7"},  {24, "Label5_9"},
    {25, "Label5_10"}, {26, "Label5_11"}, {27, "Label5_12"}, {28, "Label5_13"}, {29, "Label5_14"},
    {30, "Label5_15"}, {31, "Label5_16"},
};
constexpr int kRowsPerColumn = 14;

} // namespace

GY_Form::GY_Form(machine::Machine& machine, app::OperatorState& state, common::AppDir app,
                 machine::OperatorDialog& dialog, QWidget* parent)
    : SetupForm(machine, state, std::move(app), dialog, app::MakerProcessFields(), parent) {
    setObjectName("GY_Form");
    auto* values = new QWidget(this);
    auto* grid = new QGridLayout(values);
    auto* frame = new QGroupBox(this);
    frame->setObjectName("Frame1");
    auto* frameGrid = new QGridLayout(frame);
    int placed = 0;
    int inFrame = 0;
    for (const auto& b : app::MakerProcessBoxes()) {
        const QString name = QString("Text1_%1").arg(b.index);
        QWidget* parent =
            app::InDiscretisationFrame(b.index) ? static_cast<QWidget*>(frame) : values;
        auto* l = label(parent, kLabelOf.at(b.index), "");
        auto* e = box(parent, name, b.field);
        if (parent == frame) {
            frameGrid->addWidget(l, inFrame, 0);
            frameGrid->addWidget(e, inFrame++, 1);
        } else {
            const int column = 2 * (placed / kRowsPerColumn);
            grid->addWidget(l, placed % kRowsPerColumn, column);
            grid->addWidget(e, placed % kRowsPerColumn, column + 1);
            ++placed;
        }
    }
    frameGrid->addWidget(label(frame, "Label17", ""), inFrame, 0);
    auto* modes = new QHBoxLayout;
    modes->addWidget(option(frame, "Option1", "", "RunMode", 0));
    modes->addWidget(option(frame, "Option2", "", "RunMode", 1));
    frameGrid->addLayout(modes, inFrame, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* saveButton = button(this, "Command1", "");
    auto* back = button(this, "Command2", "");
    buttons->addWidget(saveButton);
    buttons->addWidget(back);
    connect(saveButton, &QPushButton::clicked, this, [this] { save(); });
    connect(back, &QPushButton::clicked, this, &QDialog::reject);

    auto* all = new QVBoxLayout(this);
    all->addWidget(values);
    all->addWidget(frame);
    all->addLayout(buttons);

    loadCaptions(app::GY_FormCaptions(), "GY_Form.txt");
    const app::MakerProcessAccess access = app::MakerProcessAccessFor(m_state.UserLevel);
    saveButton->setEnabled(access.save);
    frame->setVisible(access.discretisationFrame);
}

} // namespace korvel::ui
