#pragma once

#include <string>
#include <string_view>

// Reads the start-up parameters. The only input the program takes is the appliance's address,
// given as a flag parameter: "-192.168.0.10", "/qv.example.net:12300". The first such parameter
// wins; a flag character alone is ignored. Parameters without a flag character are left to the
// framework (Qt has already removed its own options).
class CMyCommandLineInfo {
public:
    // One parameter: `param` without its flag character when `flag` is true.
    void ParseParam(std::string_view param, bool flag, bool last);

    const std::string& serverAddress() const { return m_serverAddress; }
    int flagCount() const { return m_flagCount; }

    // Parses argv[1..argc-1], deciding flags by a leading '/' or '-'.
    static CMyCommandLineInfo parse(int argc, const char* const* argv);

private:
    std::string m_serverAddress;
    int m_flagCount = 0;
};
