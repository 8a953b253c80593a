// Holds the precompiled header that the test and fuzz replay executables of
// a flavour reuse (see torvan_use_test_pch); the program itself does nothing.
int main() { return 0; }
