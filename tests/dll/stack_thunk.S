/* uint32_t CallMeasuringStack(const void* function, const uint32_t* args,
 *                             uint32_t count, uint32_t* result)   (cdecl)
 *
 * Pushes the arguments right to left, calls function, stores EAX in *result
 * and returns how many bytes the callee removed from the stack: 4 * N for a
 * stdcall function of N arguments, 0 for cdecl. The stack pointer is
 * restored either way. */
        .text
        .globl  _CallMeasuringStack
_CallMeasuringStack:
        pushl   %ebp
        movl    %esp, %ebp
        pushl   %ebx
        pushl   %esi
        pushl   %edi
        movl    %esp, %edi          /* stack before the arguments */
        movl    12(%ebp), %esi      /* args */
        movl    16(%ebp), %ecx      /* count */
1:      testl   %ecx, %ecx
        jz      2f
        pushl   -4(%esi,%ecx,4)     /* last argument first */
        decl    %ecx
        jmp     1b
2:      movl    %esp, %ebx          /* stack right before the call */
        call    *8(%ebp)
        movl    20(%ebp), %ecx
        movl    %eax, (%ecx)
        movl    %esp, %eax
        subl    %ebx, %eax          /* bytes the callee removed */
        movl    %edi, %esp
        popl    %edi
        popl    %esi
        popl    %ebx
        popl    %ebp
        ret
