#include "trace.h"

#include "app/frame.h"
#include "input/input.h"

namespace {

void AppendInput(std::string& s, const INPUTSTATE& in) {
    s += "[" + std::to_string(in.wDir) + "," + std::to_string(in.nDir) + "," +
         std::to_string(in.wButton) + "]";
}

}  // namespace

std::string TraceLine(uint32_t dwFrame) {
    std::string s = "{\"frame\":" + std::to_string(dwFrame) + ",\"scene\":" + std::to_string(g_nScene) +
                    ",\"input\":[";
    AppendInput(s, g_Input[0]);
    s += ",";
    AppendInput(s, g_Input[1]);
    s += "]";
    s += "}";
    return s;
}
