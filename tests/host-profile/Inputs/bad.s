	.text
	not_an_instruction x0, x1
