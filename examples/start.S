// Start-up code for the freestanding example: the process entry calls
// main and hands its result to the exit system call, and the one system
// call the program needs, write, is a function of its own.  The numbers
// are those of the 64-bit Arm Linux interface that qemu-aarch64 emulates.
#define SYS_write 64
#define SYS_exit 93

	.text
	.globl	_start
	.type	_start, %function
_start:
	mov	x29, #0
	bl	main
	mov	x8, #SYS_exit
	svc	#0
	.size	_start, . - _start

	.globl	sys_write
	.type	sys_write, %function
// long sys_write(int fd, const void *text, unsigned long length)
sys_write:
	mov	x8, #SYS_write
	svc	#0
	ret
	.size	sys_write, . - sys_write
