// End of the program's own objects: nothing is needed after them.
	.section .note.GNU-stack, "", %progbits
