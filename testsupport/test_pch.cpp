// Holds the precompiled header that every test and fuzz replay executable
// reuses (see torvan_use_test_pch); the program itself does nothing.
int main() { return 0; }
