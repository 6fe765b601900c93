#include "app/MotorCaptions.h"

#include <array>
#include <string>

namespace korvel::app {
namespace {

std::string indexed(const std::string& name, int index) {
    return name + "_" + std::to_string(index);
}

CaptionTable motorCaptions() {
    CaptionTable t{
        {1, "title", "电机综合设置-"}, {2, "Command0_0", "保存"}, {3, "Command0_1", "返回"}};
    const std::array<const char*, 4> buttons{"正转", "反转", "单步移动", "回零"};
    int line = 4;
    for (int axis = 1; axis <= 4; ++axis) {
        for (int i = 0; i < 4; ++i) {
            t.push_back({line++, indexed("Command" + std::to_string(axis), i), buttons[i]});
        }
    }
    t.push_back({line++, "Command5", "停止移动"});
    for (const char* frame : {"X轴-送料", "Y轴-弯弧", "Z轴-上下刀", "A轴-摆角（进刀）"}) {
        t.push_back({line, "Frame" + std::to_string(line - 20), frame});
        ++line;
    }
    const std::array<const char*, 7> labels{"脉冲当量：", "回零速度：", "手动速度：", "加速度：",
                                            "回零摆正：", "摆正速度：", "自动速度："};
    for (int axis = 1; axis <= 4; ++axis) {
        for (int i = 0; i < 7; ++i) {
            t.push_back({line++, indexed("Label" + std::to_string(axis), i), labels[i]});
        }
    }
    t.push_back({line++, "Label5_0", "脉冲当量："});
    t.push_back({line++, "Label5_1", "计数："});
    t.push_back({line++, "Command6", "清零"});
    t.push_back({line++, "Frame5", "送料轴编码器"});
    int i = 0;
    for (const char* label : {"原当量：", "新当量：", "指令距离：", "实际距离：", "编码器计数："}) {
        t.push_back({line++, indexed("Label6", i++), label});
    }
    i = 0;
    for (const char* button : {"切刀划线", "夹具夹紧", "计算新当量", "重置原当量", "移动", "关闭",
                               "清零", "机械手1", "机械手2"}) {
        t.push_back({line++, indexed("Command7", i++), button});
    }
    return t;
}

} // namespace

const CaptionTable& JJZ_FormCaptions() {
    static const CaptionTable table = motorCaptions();
    return table;
}

const CaptionTable& XZh_FormCaptions() {
    static const CaptionTable table{
        {1, "title", "机器校准"},
        {2, "Frame3", "弯弧校准"},
        {3, "Label2", "加工圆弧半径："},
        {4, "Label4", "力度调整步长："},
        {5, "Frame6_0", "正弧校准"},
        {6, "Frame6_1", "负弧校准"},
        {7, "Command4_0", "加工正弧"},
        {8, "Command4_1", "力度+1"},
        {9, "Command4_2", "力度-1"},
        {10, "Command4_3", "力度-1"},
        {11, "Command4_4", "力度+1"},
        {12, "Command4_5", "加工负弧"},
        {13, "Label5_0", "正向拍打力度系数："},
        {14, "Label5_1", "正向压弧力度系数："},
        {15, "Label6_0", "负向拍打力度系数："},
        {16, "Label6_1", "负向压弧力度系数："},
        {17, "Frame2", "开槽校准"},
        {18, "Command3", "开 槽"},
        {19, "Command1_4", "退料"},
        {20, "Command1_5", "送料"},
        {21, "Frame1", "送料轴校准"},
        {22, "Command1_0", "送料"},
        {23, "Command1_1", "退料"},
        {24, "Label1_0", "加工长度："},
        {25, "Command1_2", "开始加工"},
        {26, "Label1_2", "实际长度："},
        {27, "Command1_3", "修正送料轴"},
        {28, "Command5", "停止"},
        {29, "Command2_0", "正面开槽"},
        {30, "Command2_1", "背面开槽"},
    };
    return table;
}

const CaptionTable& WFB_FormCaptions() {
    static const CaptionTable table{
        {1, "title", "曲率表设置-"},  {2, "Command1", "保存"},      {3, "Command2", "返回"},
        {4, "Command3", "弯弧回零"},  {5, "Command4", "弯弧转动"},  {6, "Command5", "进料"},
        {7, "Command6", "退料"},      {8, "Label2", "联动次数："},  {9, "Label3", "联动角度："},
        {10, "Label4", "拍弧间距："}, {11, "Command7", "拍弯测试"}, {12, "Command8", "停止"},
        {13, "Frame5", "拍弧间距"},   {14, "Text9_0", "半径小于"},  {15, "Text9_14", "其它"},
        {16, "Text10_0", "拍弧间距"}, {17, "Command9_0", "增加行"}, {18, "Command9_1", "删除行"},
        {19, "Command9_2", "增加行"}, {20, "Command9_3", "删除行"},
    };
    return table;
}

} // namespace korvel::app
