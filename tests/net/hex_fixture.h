// Datagrams kept as data beside the tests: a name and the bytes in hex on each line, '#' to the end
// of a line a comment. All the byte strings of each name, in file order.
#pragma once
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

inline std::map<std::string, std::vector<Bytes>> ReadHexFixture(const char* szName) {
    std::map<std::string, std::vector<Bytes>> all;
    std::ifstream in(std::string(POMRIN_TEST_DIR) + "/fixtures/" + szName);
    for (std::string sLine, sKey, sHex; std::getline(in, sLine);) {
        std::istringstream ss(sLine.substr(0, sLine.find('#')));
        if (!(ss >> sKey)) continue;
        Bytes& b = all[sKey].emplace_back();
        while (ss >> sHex) {
            if (sHex.size() % 2) throw std::runtime_error("odd number of hex digits: " + sLine);
            for (size_t i = 0; i < sHex.size(); i += 2)
                b.push_back(uint8_t(std::stoul(sHex.substr(i, 2), nullptr, 16)));
        }
    }
    if (all.empty()) throw std::runtime_error(std::string("no datagrams in fixtures/") + szName);
    return all;
}
