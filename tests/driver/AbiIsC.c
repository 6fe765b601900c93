/* The driver interface header is what a card maker's C driver includes:
 * it must stay plain C. This file only has to compile. */
#include "machine/CardDriverAbi.h"

int korvel_abi_is_c(void) { return (int)sizeof(int32_t); }
