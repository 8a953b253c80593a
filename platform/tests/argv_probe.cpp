// Started by the program-start tests: writes the arguments it received, one
// per line, to ../TMP/argv.txt (the test's run-time tree) and exits with
// their count, so a waited start can check the exit code.
#include <cstdio>

int main(int argc, char** argv) {
    std::FILE* out = std::fopen("../TMP/argv.txt", "wb");
    if (out == nullptr) return 100;
    for (int i = 1; i < argc; ++i) std::fprintf(out, "%s\n", argv[i]);
    std::fclose(out);
    return argc - 1;
}
