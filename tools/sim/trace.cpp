#include "trace.h"

#include "app/frame.h"
#include "battle/chara.h"
#include "input/input.h"

namespace {

void AppendInput(std::string& s, const INPUTSTATE& in) {
    s += "[" + std::to_string(in.wDir) + "," + std::to_string(in.nDir) + "," + std::to_string(in.wButton) +
         "]";
}

void AppendFighter(std::string& s, const CHARA& c) {
    auto num = [](int64_t n) { return std::to_string(n); };
    s += "{\"x\":" + num(c.box.nX) + ",\"y\":" + num(c.box.nY) + ",\"vx\":" + num(c.nSpeedX) +
         ",\"vy\":" + num(c.nSpeedY) + ",\"win\":" + num(c.nWin) + ",\"gauge\":" + num(c.nGauge) +
         ",\"dead\":" + num(c.bDead) + ",\"control\":" + num(c.nControl) + ",\"chara\":" + num(c.chr.nId) +
         ",\"skills\":[" + num(c.nSkillFlag[0]) + "," + num(c.nSkillFlag[1]) + "," + num(c.nSkillFlag[2]) +
         "],\"big\":" + num(c.bBig) + ",\"small\":" + num(c.bSmall) + "}";
}

}  // namespace

std::string TraceLine(uint32_t dwFrame) {
    std::string s = "{\"frame\":" + std::to_string(dwFrame) + ",\"scene\":" + std::to_string(g_nScene) +
                    TraceMenu() + ",\"input\":[";
    AppendInput(s, g_Input[0]);
    s += ",";
    AppendInput(s, g_Input[1]);
    s += "]";
    if (g_nScene == SCENE_BATTLE) {
        s += ",\"battle\":{\"phase\":" + std::to_string(g_nBattlePhase) + ",\"p1\":";
        AppendFighter(s, g_Chara[0]);
        s += ",\"p2\":";
        AppendFighter(s, g_Chara[1]);
        s += "}";
    }
    s += "}";
    return s;
}
