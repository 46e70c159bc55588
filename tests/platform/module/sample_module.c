/* A shared library of nothing, for the tests of the loaded-module list: it
   is loaded and closed at run time as a driver would be. */
int skyvane_sample_module(void) { return 1; }
