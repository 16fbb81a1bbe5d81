/* Needs the CRC extension, which cortex-a72 has and the generic 64-bit Arm
   processor does not promise. */
unsigned checksum(unsigned crc, unsigned char byte) { return __builtin_arm_crc32b(crc, byte); }
