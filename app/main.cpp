// main: the process entry; hands the command line to the show's entry.
int zoltMain(int argc, char** argv);

int main(int argc, char** argv) { return zoltMain(argc, argv); }
