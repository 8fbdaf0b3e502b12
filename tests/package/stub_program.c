/* Stands in for the setup program when the native tests build setups: any
   Windows program image with the integrity record (stub_program.rc) will do. */
int main(void) { return 0; }
