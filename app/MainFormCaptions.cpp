#include "app/MainFormCaptions.h"

#include "common/Message.h"

#ifndef KORVEL_VERSION
#define KORVEL_VERSION "0.0.0"
#endif

namespace korvel::app {

const CaptionTable& MainFormCaptions() {
    static const CaptionTable table{
        {1, "title", std::string(kMainFormTitle)},
        {2, "Check1", "单步步长："},
        {3, "Check2", "加工前回零"},
        {4, "Check3", "打开编码器"},
        {5, "Check4", "加工前回零"},
        {7, "Command_SL", "送  料"},
        {8, "Command_TL", "退  料"},
        {9, "Command_XZ", "回 零"},
        {10, "Command_Z1", "弯 弧 回 零"},
        {11, "Command_Z3", "切 刀 回 零"},
        {13, "Command1", "轮廓偏移"},
        {14, "Command10_0", "设备综合设置"},
        {15, "Command10_1", "电机综合设置"},
        {16, "Command10_2", "IO配置设置"},
        {17, "Command10_3", "用户工艺设置"},
        {19, "Command10_4", "设备商工艺设置"},
        {20, "Command10_5", "曲率表设置"},
        {21, "Command10_6", "用户设置"},
        {22, "Frame1", "送料"},
        {23, "Frame2", "弯弧-摆刀-下刀  回零"},
        {25, "Frame3", "加工"},
        {26, "Frame5", "机器状态信息"},
        {27, "Frame6", "加工字形信息"},
        {28, "Label1_0", "送料速度："},
        {29, "Label1_1", "接料长度："},
        {31, "Label1_2", "加工次数："},
        {32, "Label1_3", "送料长度："},
        {33, "Label1_4", "弯弧转角："},
        {34, "Label1_5", "下刀深度："},
        {35, "Label1_7", "送料速度："},
        {37, "Label1_8", "加工文件路径："},
        {38, "Label1_9", "选定字形长度："},
        {39, "Label1_10", "加工总长度："},
        {40, "Label1_11", "剩余加工长度："},
        {41, "Label1_12", "结束送料："},
        {43, "Label2_0", "铣刀转动"},
        {44, "Label2_3", "材料压紧"},
        {45, "Label2_4", "弯弧器进出"},
        {46, "Label2_5", "备用显示"},
        {47, "Label3_0", "送料零位开关"},
        {49, "Label3_1", "弯弧零位开关"},
        {50, "Label3_2", "下刀零位开关"},
        {51, "Label2_1", "切刀切出"},
        {52, "Label2_2", "切刀退回"},
        {53, "Label3_4", "刀退回到位"},
        {55, "Label3_5", "刀切出到位"},
        {56, "Text1", "控制"},
        {57, "Menu_Help", "帮助"},
        {58, "Menu_Open", "打开"},
        {59, "Menu_Close", "关闭"},
        {61, "Menu_About", "关于我们"},
        {62, "Menu_Exit", "退出"},
        {63, "Menu_File", "文件"},
        {64, "TabStrip1#0", "控制"},
        {65, "TabStrip1#1", "设置"},
        {67, "TabStrip2#0", "加工基本信息"},
        {68, "TabStrip2#1", "字形详细信息"},
        {69, "TabStrip3#0", "加工基本信息"},
        {70, "TabStrip3#1", "字形详细信息"},
        {71, "TabStrip3#2", "机器动作调试"},
        {73, "Menu_View", "视图"},
        {74, "Menu_RestoreView", "还原视图"},
        {75, "Menu_Node", "节点"},
        {76, "Menu_DeleteNode", "删除节点"},
        {77, "Menu_UndoAllDeletes", "取消全部删除"},
        {79, "Menu_UndoLastDelete", "取消前一个删除"},
        {80, "Menu_AddNode", "增加节点"},
        {81, "Menu_UndoAllAdds", "取消全部增加"},
        {82, "Menu_UndoLastAdd", "取消前一个增加"},
        {89, "Menu_Mirror", "字形Y镜向"},
        {91, "Menu_CancelSelection", "取消选择"},
        {92, "Menu_Area", "查看选择面积"},
        {93, "Label5_0", "文件名："},
        {94, "Label5_1", "开槽深度（Z方向）："},
        {95, "Label5_2", "材料宽度（X方向）："},
        {97, "Label5_3", "加工时主轴转速："},
        {98, "Label5_4", "加工时进给速度："},
        {99, "Command2_0", "输出"},
        {100, "Command2_1", "取消"},
        {101, "Menu_ExportPlt", "字形PLT"},
        {103, "Menu_ExportSlot", "开槽程序"},
        {104, "Menu_Export", "输出"},
        {105, "Menu_Params", "参数"},
        {106, "Menu_SwitchGroup", "切换参数组"},
        {107, "Menu_CurrentGroup", "当前参数组"},
        {109, "Text12", "参数组管理切换"},
        {110, "Frame8_0", "设备参数组"},
        {111, "Frame8_1", "曲率表参数组"},
        {112, "Command3_0", "保存说明"},
        {113, "Command3_1", "切换参数"},
        {115, "Command3_2", "关  闭"},
        {116, "Command3_3", "复制当前参数至所有组"},
        {117, "Command3_4", "复制当前参数至所有组"},
        {118, "Command4", "工艺参数"},
        {119, "Option3_0", "刨刀开槽"},
        {121, "Option3_1", "合金刀开槽"},
        {122, "Text10_1", "计算胶水重量"},
        {123, "Command3_5", "机械手2"},
        {124, "Command3_6", "机械手1"},
        {125, "Command3_7", "压紧"},
        {127, "Command5_0", "送料校准"},
        {128, "Command5_1", "开槽校准"},
        {129, "Command5_2", "弯弧校准"},
        {130, "Menu_Glue", "计算胶水重量"},
        {131, "Popup_OpenFile", "打开文件"},
        {133, "Popup_CloseFile", "关闭文件"},
        {134, "Popup_CancelPath", "取消路径"},
        {135, "Popup_AddNode", "节点增加"},
        {136, "Popup_DeleteNode", "节点删除"},
        {137, "Label9_0", "正切行程："},
        {138, "Label9_1", "背切行程："},
        {139, "Command7", "保存行程"},
        {140, "Check5", "禁止弯弧"},
        {141, "Menu_Text", "文字…"},
    };
    return table;
}

CaptionTable MainFormModeCaptions(const CutterAxes& axes) {
    CaptionTable table;
    if (axes.infeed) {
        table = {{1, "Command_Z2", "进 刀 回 零"},
                 {2, "Label1_6", "进刀距离："},
                 {3, "Label3_3", "进刀零位开关"}};
    } else {
        table = {{4, "Command_Z2", "摆 刀 回 零"},
                 {5, "Label1_6", "摆刀角度："},
                 {6, "Label3_3", "摆刀零位开关"}};
    }
    if (axes.zIsSwing) {
        table.push_back({7, "Label3_2", "摆刀零位开关"});
        table.push_back({8, "Label3_3", "进刀零位开关"});
        table.push_back({9, "Label1_5", "摆刀角度："});
        table.push_back({10, "Label1_6", "进刀位置："});
    }
    return table;
}

std::string VersionText() {
    return KORVEL_VERSION;
}

std::string TabMarker(int tab, int languageFlag) {
    const common::Message marker =
        tab == 1 ? common::notice("设置", "Setup") : common::notice("控制", "Control");
    return marker.text(languageFlag == 0 ? common::Language::Chinese : common::Language::English);
}

} // namespace korvel::app
