#!/bin/busybox sh
# The guest's /init: loads the USB, virtio and 9p modules, mounts the host's / (read-only) with the
# scenario's writable folder at its own path over it, and runs the scenario in a chroot there, so the
# programs of the build tree run unchanged against this kernel. Powers off when the scenario ends.
/bin/busybox --install -s /bin
export PATH=/bin
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev
mount -t tmpfs run /run
mkdir -p /dev/shm /run/user/0 /run/tmp && chmod 700 /run/user/0 && chmod 1777 /run/tmp &&
  mount -t tmpfs shm /dev/shm
for module in $(cat /modules/order); do
  insmod "/modules/$module" || echo "init: insmod $module failed"
done
# A scenario may unload the printer driver and load it again.
mkdir -p /run/modules && cp /modules/usblp.ko /run/modules/
for word in $(cat /proc/cmdline); do
  case "$word" in
    lm360r.out=*) out=${word#*=} ;;
    lm360r.guest=*) guest=${word#*=} ;;
  esac
done
options=trans=virtio,version=9p2000.L,msize=262144
# The host's /tmp stays visible (the source and build trees may live there); the programs get a
# writable home and temporary folder of their own under /run.
if mount -t 9p -o "$options" hostroot /host && mount -t 9p -o "$options" share "/host$out"; then
  for d in dev proc sys run; do mount --bind "/$d" "/host/$d"; done
  chroot /host /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/run/tmp TMPDIR=/run/tmp \
    XDG_RUNTIME_DIR=/run/user/0 LANG=C.UTF-8 /bin/bash "$guest" "$out"
  echo "init: scenario ended with status $?"
else
  echo "init: could not mount the host's folders"
fi
poweroff -f
