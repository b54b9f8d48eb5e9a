# The people who use the printer, made in the guest (sourced by guest.sh): the user at the seat, whose
# access is what logind gives the active seat (an ACL on every device node the udev rules tag uaccess,
# nothing else); a member of the lp group who is at no seat (an administrator over ssh); the superuser
# through su, which keeps the caller's environment. The real systemd-udevd applies the machine's rules
# and the rule our packages install.

seat_uid=1000
member_uid=1001
lp_gid=$(getent group lp | cut -d: -f3)
seat_runtime=/run/user/$seat_uid
member_runtime=/run/user/$member_uid

# A login's environment: its own home and runtime folder, as pam_systemd makes them.
login_env() { # UID
  echo "HOME=/run/user/$1/home" "XDG_RUNTIME_DIR=/run/user/$1" "USER=user$1" "LOGNAME=user$1"
}
# shellcheck disable=SC2207 # the words of login_env are single words
as_seat=(setpriv --reuid="$seat_uid" --regid="$seat_uid" --clear-groups env $(login_env "$seat_uid"))
# shellcheck disable=SC2207
as_member=(setpriv --reuid="$member_uid" --regid="$member_uid" --groups="$lp_gid" env $(login_env "$member_uid"))
# `su` without "-" as the seat user would type it: the superuser, with the seat user's runtime folder.
# shellcheck disable=SC2016,SC2207 # the inner shell expands "$0" and "$@"
as_root_via_su=(env $(login_env "$seat_uid") su root -c 'exec "$0" "$@"')

make_users() {
  local uid
  for uid in "$seat_uid" "$member_uid"; do
    mkdir -p "/run/user/$uid/home"
    chown -R "$uid:$uid" "/run/user/$uid"
    chmod 700 "/run/user/$uid"
  done
}

# systemd-udevd with the machine's rules and ours; logind's part for the seat user is a rule that sets the
# ACL on every node tagged uaccess, whenever such a node appears (usblp's node comes back with its driver
# after an unbind). The ACL goes only on a node udev has given its mode, or the group's entry in the ACL
# would keep the kernel's 0600 and lock the lp group out.
start_udev() {
  mkdir -p /run/udev/rules.d
  cp "$source_dir/resources/udev/70-lm360r-printer.rules" /run/udev/rules.d/
  # shellcheck disable=SC2016 # for the script it writes
  printf '%s\n' '[ "$(stat -c %a "$1")" = 600 ] || exec /usr/bin/setfacl -m "u:$2:rw" "$1"' >/run/udev/seat-acl.sh
  printf '%s\n' "ACTION!=\"remove\", TAG==\"uaccess\", ENV{DEVNAME}==\"?*\", RUN+=\"/bin/sh /run/udev/seat-acl.sh \$env{DEVNAME} $seat_uid\"" \
    >/run/udev/rules.d/99-seat-user.rules
  # The guest's programs run in a chroot of the host's /, where systemd's tools would otherwise do nothing.
  export SYSTEMD_IGNORE_CHROOT=1
  /lib/systemd/systemd-udevd --daemon >>"$out/udevd.log" 2>&1 || problem "systemd-udevd did not start"
  udevadm trigger --action=add --subsystem-match=usb --subsystem-match=usbmisc
  udevadm settle --timeout=30 || problem "udev did not settle"
}

# The ACL entry a user has on a node: "rw-", or nothing.
acl_of() { # UID NODE
  getfacl -n -c "$2" 2>/dev/null | sed -n "s/^user:$1:\([rwx-]*\).*/\1/p"
}
usb_node_of() { # SYSFS-DEVICE-FOLDER
  printf '/dev/bus/usb/%03d/%03d\n' "$(cat "$1/busnum")" "$(cat "$1/devnum")"
}
# The other printer-class device: its USB node and usblp's node.
other_printer_nodes() {
  local d
  for d in /sys/bus/usb/devices/*:*; do
    if [ "$(cat "$d/bInterfaceClass" 2>/dev/null)" = 07 ] && [ "$(cat "$d/../product" 2>/dev/null)" != LM-360R ]; then
      usb_node_of "$d/.."
      echo "/dev/usb/$(basename "$d"/usbmisc/lp* 2>/dev/null)"
    fi
  done
}
