/* Calls an export of VLRun32.dll through its real binary interface and
   records, before and after the call, the registers that the interface
   promises to keep, so the tests can compare them.

   struct AbiRegs { ebx, esi, edi, ebp, esp, eflags }  (six 32-bit words)

   Known values go into ESI, EDI, EBP (and EBX for stack exports) so a
   clobbered register cannot match by chance. */

    .text

/* uint32_t vl_abi_call_buffer(void* fn, void* host, AbiRegs* before, AbiRegs* after) */
    .globl _vl_abi_call_buffer
_vl_abi_call_buffer:
    pushl %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    movl 20(%esp), %eax         /* fn */
    movl 24(%esp), %ebx         /* host buffer */
    movl 28(%esp), %ecx         /* before */
    movl $0x51515151, %esi
    movl $0xD1D1D1D1, %edi
    movl $0xB5B5B5B5, %ebp
    movl %ebx, 0(%ecx)
    movl %esi, 4(%ecx)
    movl %edi, 8(%ecx)
    movl %ebp, 12(%ecx)
    movl %esp, 16(%ecx)
    call *%eax
    pushfl
    pushl %eax
    movl 40(%esp), %eax         /* after: 32(%esp) before the two pushes */
    jmp record_after

/* uint32_t vl_abi_call_stack(void* fn, const uint32_t* args, int count,
                              AbiRegs* before, AbiRegs* after) */
    .globl _vl_abi_call_stack
_vl_abi_call_stack:
    pushl %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    movl 32(%esp), %eax         /* before */
    movl $0x5B5B5B5B, %ebx
    movl $0x51515151, %esi
    movl $0xD1D1D1D1, %edi
    movl $0xB5B5B5B5, %ebp
    movl %ebx, 0(%eax)
    movl %esi, 4(%eax)
    movl %edi, 8(%eax)
    movl %ebp, 12(%eax)
    movl %esp, 16(%eax)         /* before the arguments are pushed */
    movl 20(%esp), %eax         /* fn */
    movl 24(%esp), %edx         /* args */
    movl 28(%esp), %ecx         /* count */
1:  testl %ecx, %ecx            /* push right to left: the first lies on top */
    jz 2f
    decl %ecx
    pushl (%edx,%ecx,4)
    jmp 1b
2:  call *%eax
    pushfl
    pushl %eax
    movl 44(%esp), %eax         /* after: 36(%esp) before the two pushes */

record_after:
    movl %ebx, 0(%eax)
    movl %esi, 4(%eax)
    movl %edi, 8(%eax)
    movl %ebp, 12(%eax)
    leal 8(%esp), %ecx
    movl %ecx, 16(%eax)
    movl 4(%esp), %ecx
    movl %ecx, 20(%eax)         /* EFLAGS as the export left them */
    popl %eax
    addl $4, %esp
    cld
    popl %edi
    popl %esi
    popl %ebx
    popl %ebp
    ret
