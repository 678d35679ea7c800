#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

// Root reads, writes and renames whatever it likes, and the tests may run as root: while one
// of these lives, the calling thread works without the capabilities that pass over a file's
// permissions, so that a file the player cannot read is one the test cannot read either.
// Capabilities belong to a thread; the thread gets back what it had when this ends.
class PermissionsHold {
public:
    PermissionsHold()
    {
        if (syscall(SYS_capget, &header, had) != 0)
            return;
        __user_cap_data_struct without[2] = { had[0], had[1] };
        without[0].effective
            &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER));
        dropped = syscall(SYS_capset, &header, without) == 0;
    }
    ~PermissionsHold()
    {
        if (dropped)
            syscall(SYS_capset, &header, had);
    }
    // Whether permissions hold for this thread: it has nothing to pass over them, or gave it
    // up.
    bool holds() const { return dropped || geteuid() != 0; }
    PermissionsHold(const PermissionsHold&) = delete;
    PermissionsHold& operator=(const PermissionsHold&) = delete;

private:
    __user_cap_header_struct header { _LINUX_CAPABILITY_VERSION_3, 0 };
    __user_cap_data_struct had[2] {};
    bool dropped = false;
};
