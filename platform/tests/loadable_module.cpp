// A shared object for the library-loading tests: one known export.
extern "C" int TorvanLoadableAnswer() { return 42; }
