// The two halves of a round trip through the binary programme file: a
// translation that is linked and written, and a file that is read into a
// fresh store and walked back into source lines.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plceditor/core/plc_messages.h"
#include "plceditor/v310/program_walker.h"
#include "plceditor/v310/tests/compiler_fixture.h"
#include "testsupport/test_env.h"

namespace plc::test {

// Translates and links the lines, writes the programme file `name` in TMP and
// gives its text.
inline std::string TranslateToFile(LineCompiler&& compiler, const std::vector<std::string>& lines,
                                   const std::string& name) {
    for (const std::string& line : lines) {
        EXPECT_EQ(compiler.Line(line), msg::kNoError) << line;
    }
    int faultLine = -1;
    EXPECT_EQ(compiler.store.linkProgram(faultLine), msg::kNoError) << faultLine;
    std::string path = "..\\TMP\\" + name;
    EXPECT_TRUE(compiler.store.writeBinaryProgrammeFile(path));
    return testsupport::ReadFile(testsupport::RuntimePath("TMP/" + name));
}

// Reads the programme file `name` and decodes it line by line with the
// dialect's texts.
inline std::vector<std::string> DecodeFile(const std::string& name, const DecoderDialect& dialect) {
    PlcCompiler store;
    store.setMemorySize(kDefaultMemoryWords);
    store.resetStore();
    EXPECT_TRUE(store.readBinaryProgrammeFile("..\\TMP\\" + name));
    ProgramWalker walker(store, dialect);
    int used = 0;
    EXPECT_EQ(walker.findProgramEnds(used), msg::kNoError);
    std::vector<std::string> lines;
    std::string text;
    int line = 0;
    int message = msg::kNoError;
    while (walker.decodeNextLine(text, line, message)) {
        EXPECT_EQ(message, msg::kNoError) << text;
        lines.push_back(text);
    }
    EXPECT_EQ(message, msg::kNoError);
    return lines;
}

}  // namespace plc::test
