/* Stands in for the setup program when the native tests build setups: any
   Windows program image will do. */
int main(void) { return 0; }
