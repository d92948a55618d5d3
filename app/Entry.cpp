// Entry: placeholder until the shell lands.
int zoltMain(int, char**) { return 0; }
