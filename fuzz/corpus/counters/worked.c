/* header
   comment */
#include <stdio.h>

int main(void) { // entry
    printf("/* no */\n");
    return 0; /* done */
}
