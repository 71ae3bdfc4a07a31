"""Runs a program so that it writes the same bytes at every build: with the wall clock stopped at
one moment and the addresses of its memory not randomised. chmcmd writes the time into the help
file's header, its system file and, compressed, its index header, reading it with system calls of
its own (no C library to intercept), and what else it writes depends on where its memory lies.
On x86-64 Linux the program runs without address randomisation, traced, and every gettimeofday,
time and clock_gettime(CLOCK_REALTIME) answers with the given time; elsewhere, or where tracing
is not allowed, it runs as it is, its output varies from build to build, and one line on standard
error, "reproducible.py: cannot run it reproducibly here: <reason>", says why.
Needs Python 3.9 (os.waitstatus_to_exitcode).

    reproducible.py <seconds since 1970> <program> <arguments>...
"""
import ctypes
import os
import platform
import signal
import subprocess
import sys

PTRACE_TRACEME, PTRACE_POKEDATA, PTRACE_GETREGS, PTRACE_SETREGS = 0, 5, 12, 13
PTRACE_SYSCALL, PTRACE_SETOPTIONS = 24, 0x4200
PTRACE_O_TRACESYSGOOD, PTRACE_O_TRACECLONE, PTRACE_O_EXITKILL = 1, 8, 0x100000
WALL = 0x40000000
SYS_GETTIMEOFDAY, SYS_TIME, SYS_CLOCK_GETTIME = 96, 201, 228
CLOCK_REALTIME = 0
ADDR_NO_RANDOMIZE = 0x0040000
ENTERING = 2**64 - 38  # rax at a system call's entry: -ENOSYS until the kernel answers


class Registers(ctypes.Structure):  # struct user_regs_struct of x86-64
    _fields_ = [(name, ctypes.c_ulonglong) for name in (
        "r15 r14 r13 r12 rbp rbx r11 r10 r9 r8 rax rcx rdx rsi rdi orig_rax rip cs eflags rsp ss "
        "fs_base gs_base ds es fs gs").split()]


def run_plainly(command, reason):
    print(f"reproducible.py: cannot run it reproducibly here: {reason}; its output varies from "
          "build to build", file=sys.stderr, flush=True)
    return subprocess.call(command)


def failed(call):
    return f"{call} failed: {os.strerror(ctypes.get_errno())}"


def main(seconds, command):
    if platform.system() != "Linux" or platform.machine() != "x86_64":
        return run_plainly(command, f"it runs only on x86-64 Linux, not {platform.system()} "
                                    f"{platform.machine()}")
    libc = ctypes.CDLL(None, use_errno=True)
    libc.ptrace.restype = ctypes.c_long
    libc.ptrace.argtypes = [ctypes.c_long, ctypes.c_long, ctypes.c_void_p, ctypes.c_void_p]
    child = os.fork()
    if child == 0:
        if libc.personality(libc.personality(0xFFFFFFFF) | ADDR_NO_RANDOMIZE) == -1:
            os._exit(run_plainly(command, failed("turning off address randomisation")))
        if libc.ptrace(PTRACE_TRACEME, 0, None, None) != 0:
            os._exit(run_plainly(command, failed("tracing (ptrace)")))
        os.kill(os.getpid(), signal.SIGSTOP)
        os.execvp(command[0], command)

    _, status = os.waitpid(child, WALL)
    if not os.WIFSTOPPED(status):  # not traced: it ran as it is
        return os.waitstatus_to_exitcode(status)
    libc.ptrace(PTRACE_SETOPTIONS, child, None,
                PTRACE_O_TRACESYSGOOD | PTRACE_O_TRACECLONE | PTRACE_O_EXITKILL)
    libc.ptrace(PTRACE_SYSCALL, child, None, None)
    while True:
        thread, status = os.waitpid(-1, WALL)
        if os.WIFEXITED(status) or os.WIFSIGNALED(status):
            if thread == child:
                return os.waitstatus_to_exitcode(status)
            continue
        signal_number = 0
        stop = os.WSTOPSIG(status)
        if stop == signal.SIGTRAP | 0x80:
            answer(libc, thread, int(seconds))
        elif stop not in (signal.SIGTRAP, signal.SIGSTOP):
            signal_number = stop  # the program's own signals go on to it
        libc.ptrace(PTRACE_SYSCALL, thread, None, signal_number)


def answer(libc, thread, seconds):
    """At the exit of a clock call: overwrite its result with the stopped time."""
    regs = Registers()
    libc.ptrace(PTRACE_GETREGS, thread, None, ctypes.byref(regs))
    if regs.rax == ENTERING:
        return  # the kernel has not answered yet
    if regs.rax != 0 and regs.orig_rax != SYS_TIME:
        return  # a failed call, or no clock call at all
    if regs.orig_rax == SYS_GETTIMEOFDAY and regs.rdi:
        poke(libc, thread, regs.rdi, seconds, 0)
    elif regs.orig_rax == SYS_CLOCK_GETTIME and regs.rdi == CLOCK_REALTIME and regs.rsi:
        poke(libc, thread, regs.rsi, seconds, 0)
    elif regs.orig_rax == SYS_TIME:
        if regs.rdi:
            poke(libc, thread, regs.rdi, seconds)
        regs.rax = seconds
        libc.ptrace(PTRACE_SETREGS, thread, None, ctypes.byref(regs))


def poke(libc, thread, address, *words):
    for i, word in enumerate(words):
        libc.ptrace(PTRACE_POKEDATA, thread, ctypes.c_void_p(address + 8 * i),
                    ctypes.c_void_p(word))


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2:]))
