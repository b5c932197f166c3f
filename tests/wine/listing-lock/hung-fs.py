#!/usr/bin/python3
# A file system whose listing never answers, as a network drive's whose
# server has gone away: its root's attributes come back (an unknown name is
# simply not there), but reading the root's entries waits until the file
# system is unmounted.
#   hung-fs.py MOUNTPOINT
# Prints "mounted" once the mount is up. Ends when unmounted or killed.
import errno
import os
import stat
import sys
import threading
import time

from fusepy import FUSE, FuseOSError, Operations

never = threading.Event()


class Hung(Operations):
    def getattr(self, path, fh=None):
        if path != "/":
            raise FuseOSError(errno.ENOENT)
        now = time.time()
        return {"st_mode": stat.S_IFDIR | 0o755, "st_nlink": 2, "st_ctime": now, "st_mtime": now, "st_atime": now}

    def readdir(self, path, fh):
        never.wait()
        raise FuseOSError(errno.EIO)


def announce():
    # The mount is up once its root reads as a mount point of its own.
    while not os.path.ismount(sys.argv[1]):
        time.sleep(0.01)
    print("mounted", flush=True)


threading.Thread(target=announce, daemon=True).start()
FUSE(Hung(), sys.argv[1], foreground=True, nothreads=False)
