/* Reads through a null pointer, as a faulty test program might: under
   cmake/wine-run.sh this must end the program at once, with Wine's report
   of the fault, never leave it waiting for a crash debugger. */
#include <stdio.h>

int main(void)
{
    /* Held in a volatile variable, the pointer is not known to be null when
       compiling, so the read stays a real load rather than a trap. */
    int *volatile target = NULL;
    puts("reading through a null pointer");
    fflush(stdout);
    return *target;
}
