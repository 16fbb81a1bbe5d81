// The out-of-line atomic operations that code built for any 64-bit Arm
// processor calls (the target's C library is built that way): compare and
// swap, swap, and the four fetch-and-operate kinds, for 1, 2, 4 and 8
// bytes in the four memory orders.  Exclusive load/store loops, so they
// work on every processor of the architecture.
//
//   cas:  x0 expected, x1 desired, x2 address -> x0 old value
//   swp:  x0 value, x1 address -> x0 old value
//   ldOP: x0 operand, x1 address -> x0 old value

	.text

// Exclusive load and store of one size and order.
.macro load_excl size, order, reg, addr
  .ifc \order, acq
	ldax\size \reg, [\addr]
  .else
    .ifc \order, acq_rel
	ldax\size \reg, [\addr]
    .else
	ldx\size \reg, [\addr]
    .endif
  .endif
.endm

.macro store_excl size, order, status, reg, addr
  .ifc \order, rel
	stlx\size \status, \reg, [\addr]
  .else
    .ifc \order, acq_rel
	stlx\size \status, \reg, [\addr]
    .else
	stx\size \status, \reg, [\addr]
    .endif
  .endif
.endm

.macro entry name
	.globl	\name
	.hidden	\name
	.type	\name, %function
	.p2align 4
\name:
.endm

.macro end name
	.size	\name, . - \name
.endm

// Narrow values are compared after zero extension, as the loads give them.
.macro extend_expected bytes
  .if \bytes == 1
	uxtb	w16, w0
  .elseif \bytes == 2
	uxth	w16, w0
  .elseif \bytes == 4
	mov	w16, w0
  .else
	mov	x16, x0
  .endif
.endm

.macro cas bytes, size, r, order
entry __aarch64_cas\bytes\()_\order
	extend_expected \bytes
0:	load_excl \size, \order, \r\()0, x2
	cmp	\r\()0, \r\()16
	bne	1f
	store_excl \size, \order, w17, \r\()1, x2
	cbnz	w17, 0b
1:	ret
end __aarch64_cas\bytes\()_\order
.endm

.macro swp bytes, size, r, order
entry __aarch64_swp\bytes\()_\order
	mov	x16, x0
0:	load_excl \size, \order, \r\()0, x1
	store_excl \size, \order, w17, \r\()16, x1
	cbnz	w17, 0b
	ret
end __aarch64_swp\bytes\()_\order
.endm

.macro ldop op, insn, bytes, size, r, order
entry __aarch64_ld\op\bytes\()_\order
	mov	x16, x0
0:	load_excl \size, \order, \r\()0, x1
	\insn	\r\()17, \r\()0, \r\()16
	store_excl \size, \order, w15, \r\()17, x1
	cbnz	w15, 0b
	ret
end __aarch64_ld\op\bytes\()_\order
.endm

.macro all_of_size bytes, size, r
  .irp order, relax, acq, rel, acq_rel
	cas \bytes, \size, \r, \order
	swp \bytes, \size, \r, \order
	ldop add, add, \bytes, \size, \r, \order
	ldop clr, bic, \bytes, \size, \r, \order
	ldop eor, eor, \bytes, \size, \r, \order
	ldop set, orr, \bytes, \size, \r, \order
  .endr
.endm

	all_of_size 1, rb, w
	all_of_size 2, rh, w
	all_of_size 4, r, w
	all_of_size 8, r, x

	.section .note.GNU-stack, "", %progbits
