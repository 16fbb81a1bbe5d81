// Start of the program's own objects: the handle that destructors
// registered with __cxa_atexit name (zero in an executable, its own
// address in a shared object).
	.section .data.rel.ro, "aw"
	.p2align 3
	.globl	__dso_handle
	.hidden	__dso_handle
	.type	__dso_handle, %object
	.size	__dso_handle, 8
__dso_handle:
#ifdef VRK_CRT_SHARED
	.quad	__dso_handle
#else
	.quad	0
#endif
	.section .note.GNU-stack, "", %progbits
