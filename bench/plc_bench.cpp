// The PLC translators: translation (every line compiled, then linked) and
// decoding (the code walked back into source lines) of a program that fills
// the whole memory, for each code generator, and the binary programme file
// written and read. V2.10 and V3.10 fill 4096 words (2730 records in 105
// programs); V1.10 fills its table of 254 lines. The reference is reading
// the operation's input from a file, or replacing its output file.
#include <benchmark/benchmark.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bench/support/bench_env.h"
#include "platform/base/format.h"
#include "platform/files/text_file.h"
#include "plceditor/core/plc_compiler.h"
#include "plceditor/core/plc_messages.h"
#include "plceditor/v110/line_table8.h"
#include "plceditor/v210/decoder_v210.h"
#include "plceditor/v210/line_compiler_v210.h"
#include "plceditor/v310/line_compiler_v310.h"
#include "plceditor/v310/program_walker.h"

namespace {

enum Generator : int64_t { kV110 = 110, kV210 = 210, kV310 = 310 };

constexpr int kMemoryWords = plc::PlcCompiler::kMaxMemoryWords;
// 105 programs of a head, 24 statements and END fill the 2730 records.
constexpr int kPrograms = 105;
constexpr int kStatementsPerProgram = 24;
constexpr int kLabelStep = 10;
constexpr char kSourcePath[] = "..\\userdata\\bench.plc";
constexpr char kProgrammePath[] = "..\\userdata\\bench_programme.txt";

// Statements both 20-byte generators translate; "%N" is the next label.
const char* const kStatements20[] = {
    "SET F18 = H19",
    "JMP (F1 >= F2) %N",
    "SET F19 = F20",
    "SET F20 = -2.25",
    "SET H41 = H42",
    "SET M11 = M12",
    "JMP (H1 <= H2) %N",
    "SET C5 + 200",
    "SET Z2 = 1000",
    "WAIT H72",
    "SET F1 + 1.5",
    "SET H48 = PARA[12, 3]",
    "INV M34",
    "SET PARA[7] = F70",
    "JMP (C10 != 255) %N",
    "NOP",
};
// Statements of V1.10, whose labels run from N1 to N254.
const char* const kStatements8[] = {
    "SET REFVAL = H3",
    "JMP (F1 >= F2) %N",
    "SET F[C2] = F3",
    "SET F4 = F[C10]",
    "NOP",
    "JMP (M1 = M2) %N",
    "SET HALT = M7",
    "SET F4 = PARA[H1, H2]",
    "JMP (H4 < H5) %N",
    "SET F[C2] = 1.5",
};

std::string WithTarget(const char* statement, int next_label) {
    std::string text = statement;
    const size_t at = text.find("%N");
    if (at != std::string::npos) text.replace(at, 2, "N" + std::to_string(next_label));
    return text;
}

std::vector<std::string> FullMemorySource(Generator generator) {
    std::vector<std::string> lines;
    if (generator == kV110) {
        lines.push_back("%P00");
        const int count = plc::LineTable8::kMaxLines;
        for (int label = 1; label <= count; ++label) {
            // The last line jumps nowhere.
            const char* statement = label == count ? "NOP" : kStatements8[label % std::size(kStatements8)];
            lines.push_back("N" + std::to_string(label) + " " + WithTarget(statement, label + 1));
        }
        lines.push_back("END");
        return lines;
    }
    for (int program = 0; program < kPrograms; ++program) {
        lines.push_back(platform::Format("%%P%02d", program));
        for (int s = 0; s < kStatementsPerProgram; ++s) {
            const int label = (s + 1) * kLabelStep;
            const char* statement =
                s + 1 == kStatementsPerProgram ? "NOP" : kStatements20[(program + s) % std::size(kStatements20)];
            lines.push_back("N" + std::to_string(label) + " " + WithTarget(statement, label + kLabelStep));
        }
        lines.push_back("END");
    }
    return lines;
}

// One generator's translation, decoding and programme file.
class Translator {
public:
    explicit Translator(Generator generator) : generator_(generator) {}

    // Every line translated and the program linked; the first fault's text.
    std::optional<std::string> Translate(const std::vector<std::string>& lines) {
        int line = 0;
        if (generator_ == kV110) {
            table_.resetTable();
            for (const std::string& text : lines) {
                int at = line++;
                if (table_.enterLine(text, at) != plc::msg::kNoError) return text;
            }
            return std::nullopt;
        }
        store_.setMemorySize(kMemoryWords);
        store_.resetStore();
        for (const std::string& text : lines) {
            int at = line++;
            const int result = generator_ == kV310 ? plc::v310::compileSourceLine(store_, text, at)
                                                   : plc::v210::compileSourceLine(store_, text, at);
            if (result != plc::msg::kNoError) return text;
        }
        int fault = 0;
        if (store_.linkProgram(fault) != plc::msg::kNoError) return "link, line " + std::to_string(fault);
        return std::nullopt;
    }

    // The decoded lines; empty when a line could not be decoded.
    std::vector<std::string> Decode() {
        std::vector<std::string> lines;
        std::string text;
        int line = 0;
        int message = plc::msg::kNoError;
        if (generator_ == kV110) {
            if (table_.programHeadText(text)) lines.push_back(text);
            while (table_.nextListingLine(text, line, message)) {
                if (message != plc::msg::kNoError) return {};
                lines.push_back(text);
            }
            return lines;
        }
        plc::v210::ProgramWalkerV210 walker210(store_);
        plc::ProgramWalker walker310(store_);
        plc::ProgramWalker& walker = generator_ == kV310 ? walker310 : walker210;
        int used = 0;
        if (walker.findProgramEnds(used) != plc::msg::kNoError) return {};
        while (walker.decodeNextLine(text, line, message)) {
            if (message != plc::msg::kNoError) return {};
            lines.push_back(text);
        }
        return lines;
    }

    bool WriteProgramme() {
        std::string path = kProgrammePath;
        return generator_ == kV110 ? table_.writeBinaryFile(path) : store_.writeBinaryProgrammeFile(path);
    }
    bool ReadProgramme() {
        return generator_ == kV110 ? table_.readBinaryFile(kProgrammePath)
                                   : store_.readBinaryProgrammeFile(kProgrammePath);
    }
    int UsedRecords() const { return generator_ == kV110 ? table_.UsedCount() : store_.UsedRecords(); }

private:
    Generator generator_;
    plc::PlcCompiler store_;
    plc::LineTable8 table_;
};

enum Operation : int64_t { kTranslate = 0, kDecode = 1, kWriteProgramme = 2, kReadProgramme = 3 };

const char* ReferenceName(Operation operation) {
    switch (operation) {
        case kTranslate:
            return "reading the source file";
        case kDecode:
            return "reading the programme file";
        case kWriteProgramme:
            return "replacing the same bytes";
        case kReadProgramme:
            return "reading the same bytes";
    }
    return "";
}

void Plc(benchmark::State& state) {
    const auto generator = static_cast<Generator>(state.range(0));
    const auto operation = static_cast<Operation>(state.range(1));
    const std::vector<std::string> source = FullMemorySource(generator);
    platform::ReplaceFile(kSourcePath, platform::JoinLines(source, platform::LineEnd::kCrLf));

    Translator translator(generator);
    if (const std::optional<std::string> fault = translator.Translate(source)) {
        state.SkipWithError(("not translated: " + *fault).c_str());
        return;
    }
    // The V1.10 listing ends with the last statement; the others give END.
    const size_t decoded_lines = translator.Decode().size();
    const size_t expected_lines = generator == kV110 ? source.size() - 1 : source.size();
    if (decoded_lines != expected_lines || !translator.WriteProgramme()) {
        state.SkipWithError("the program did not come back, or its file was not written");
        return;
    }
    const std::string programme = platform::ReadBinaryFile(kProgrammePath).value_or("");

    double figure_ns = 0;
    double reference_ns = 0;
    for (auto _ : state) {
        const uint64_t start = bench::RealNs();
        bool ok = true;
        switch (operation) {
            case kTranslate:
                ok = !translator.Translate(source).has_value();
                break;
            case kDecode:
                ok = translator.Decode().size() == decoded_lines;
                break;
            case kWriteProgramme:
                ok = translator.WriteProgramme();
                break;
            case kReadProgramme:
                ok = translator.ReadProgramme();
                break;
        }
        figure_ns += static_cast<double>(bench::RealNs() - start);
        if (!ok) {
            state.SkipWithError("the operation failed");
            break;
        }
        state.PauseTiming();
        const uint64_t reference_start = bench::RealNs();
        switch (operation) {
            case kTranslate:
                benchmark::DoNotOptimize(platform::ReadBinaryFile(kSourcePath));
                break;
            case kDecode:
            case kReadProgramme:
                benchmark::DoNotOptimize(platform::ReadBinaryFile(kProgrammePath));
                break;
            case kWriteProgramme:
                platform::ReplaceFile(kProgrammePath, programme);
                break;
        }
        reference_ns += static_cast<double>(bench::RealNs() - reference_start);
        state.ResumeTiming();
    }
    const double n = static_cast<double>(state.iterations());
    bench::ReportFigure(state, figure_ns / n / 1e6, reference_ns / n / 1e6, "ms per program", ReferenceName(operation));
    state.counters["lines"] = static_cast<double>(source.size());
    state.counters["records"] = translator.UsedRecords();
}

void PlcArguments(benchmark::internal::Benchmark* b) {
    b->ArgNames({"generator", "op"});
    for (int64_t generator : {kV310, kV210, kV110})
        for (int64_t operation : {kTranslate, kDecode, kWriteProgramme, kReadProgramme})
            b->Args({generator, operation});
}

BENCHMARK(Plc)->Apply(PlcArguments)->Unit(benchmark::kMillisecond);

}  // namespace
