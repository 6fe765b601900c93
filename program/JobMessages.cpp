#include "program/JobMessages.h"

namespace korvel::program {

using common::error;
using common::Message;
using common::notice;

Message CutDepthTooLargeMessage() {
    return notice("切深设置大于材料厚度，请重新设置后加工！",
                  "Cut deapth is over meterial thickness, Please Reset！");
}
Message InfeedAtZeroMessage() {
    return error("进刀压上零位开关，请手动退回！", "Cutter is at Zero, Please move up!");
}
Message BendMotorNotAtZeroMessage() {
    return error("弯弧电机未在零位！", "Bend Motor is not at zero position!");
}
Message DownCutterNotAtZeroMessage() {
    return error("下刀电机未在零位！", "Down cutter motor is not at zero position!");
}
Message SwingMotorNotAtZeroMessage() {
    return error("摆角或进刀电机未在零位！", "Swing or Foward motor is not at zero position!");
}
Message CutterNotBackMessage() {
    return error("切刀未在原位！", "Cutter is not at zero position!");
}
Message ProgramTooLongMessage() {
    return error("加工程序超长，请减少加工循环或缩短选择字形！", "Machining Code is too long!");
}
Message BendQueueFullMessage() {
    return error("待弯弧点超过10000个，请减少加工次数或缩短选择字形！",
                 "More than 10000 bends are waiting at once, please reduce the machining count "
                 "or select a shorter letter!");
}
Message JoiningTableFullMessage() {
    return error("接料次数超过51次，请减少加工次数或选择的字形段数！",
                 "More than 51 material joins, please reduce the machining count or the "
                 "selected pieces!");
}
Message CorrectionLogFullMessage() {
    return error("送料长度修正超过1001次，请减少加工次数或缩短选择字形！",
                 "More than 1001 feed length corrections, please reduce the machining count or "
                 "select a shorter letter!");
}
Message GripperStrokeMissingMessage() {
    return error("机械手行程必须大于0，请重新设置后加工！",
                 "Gripper stroke must be greater than 0, Please Reset!");
}
Message GripperStrokeNotWholeMessage() {
    return error("双行程机械手行程必须为整数毫米，请重新设置后加工！",
                 "Double-stroke gripper stroke must be a whole number of mm, Please Reset!");
}
Message RepeatCountMessage() {
    return error("加工次数必须为1至32767的整数！",
                 "Machining count must be a whole number from 1 to 32767!");
}
Message RunPanelValueMessage() {
    return error("接料长度或末端送料长度无效，请重新输入！",
                 "Join length or end feed length is not valid, Please Reset!");
}
Message PathValueMessage() {
    return error("加工路径文件含有无效数值，请重新选择字形！",
                 "The machining path holds an invalid number, please select the letter again!");
}

Message NoSuchPieceMessage(int piece, int count) {
    return error("加工路径只有" + std::to_string(count) + "段，不能从第" + std::to_string(piece) +
                     "段开始加工！",
                 "The machining path has " + std::to_string(count) +
                     " pieces: cannot start at piece " + std::to_string(piece) + "!");
}

} // namespace korvel::program
