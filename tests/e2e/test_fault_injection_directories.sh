#!/usr/bin/env bash
# Fault injection, directories: a start directory where the logs cannot be
# created (the program runs all the same, its records dropped), and a data
# directory where "screenshot.tga" cannot be written (F6 fails without harm:
# the program runs on, and a previous picture is never replaced by a
# truncated one). The test may run as root, for whom file rights are no
# obstacle, so the faults are made of other things: /proc as the start
# directory, directories in the place of files, a file-size limit (a full
# disk to the writer), and, where mounting is allowed, a full and a
# read-only file system.
. "$(dirname "$0")/fault-lib.sh"
kx_start_xvfb || exit 1

save_record="CTgaImage::TgaImageSave -- Impossible d'écrire le fichier screenshot.tga"
shot_size=$((18 + 800 * 600 * 3))

MOUNTS=()
unmount_all() {
  local m
  for m in "${MOUNTS[@]}"; do umount "$m" 2>/dev/null; done
  MOUNTS=()
}
trap 'unmount_all; kx_cleanup' EXIT

# no_leftover DATA: no temporary picture left beside screenshot.tga.
no_leftover() { [ -z "$(find "$1" -maxdepth 1 -name 'screenshot.tga.*' -print -quit)" ]; }

# --- Logs -------------------------------------------------------------

# /proc: entered by anyone, no file can be created in it.
data=$(fault_data logs-proc)
fault_run logs-proc "$data" /proc
expect_started "journaux impossibles (/proc)"
kx_check "journaux impossibles (/proc) : rien sur la console" kx_eq "$(grep -c ' - ' "$RUN_DIR/console.txt")" 0

# The two log names taken by directories. F6 there, in a data directory
# that takes it, writes a whole picture and leaves no temporary file.
start="$KX_WORK/start-logdirs"
mkdir -p "$start/robot_error.log" "$start/robot_debug.log"
data=$(fault_data logs-dirs)
fault_run logs-dirs "$data" "$start"
expect_started "journaux impossibles (répertoires)"
kx_check "F6 ordinaire : taille" kx_eq "$(stat -c %s "$data/screenshot.tga")" "$shot_size"
kx_check "F6 ordinaire : pas de fichier temporaire laissé" no_leftover "$data"

# A failing start-up without logs still ends with status 254.
data=$(fault_data logs-proc-failure)
rm -f "$data/decor.opt"
fault_run logs-proc-failure "$data" /proc
kx_check "journaux impossibles, démarrage en échec : statut 254" kx_eq "$RUN_STATUS" 254

# --- Screenshots ----------------------------------------------------------

# press_f6_and_check CASE DATA RECORD: F6, then waits for the record, the
# program still up. Where F6 fails without a record (a read-only directory),
# F8 follows it as a marker: it cannot write poses.txt there either and says
# so, and keys are handled in order, so its record comes once F6 is done.
teach_record="CPanelActions::TeachPose -- impossible d'ouvrir poses.txt en écriture"
press_f6_and_check() {
  local what="$1" dir="$2" record="$3"
  if [ -n "$record" ]; then
    kx_key "$RUN_WID" F6
  else
    kx_key "$RUN_WID" F6 F8
    record=$teach_record
  fi
  kx_until 10 eval 'run_records | grep -qxF "$record"'
  kx_check "$what : F6 ne termine pas le programme" kill -0 "$KX_APP_PID"
  kx_check "$what : enregistrements" kx_eq "$(run_records)" "$record"
  kx_check "$what : pas de fichier temporaire laissé" no_leftover "$dir"
}

# screenshot.tga is a directory: the picture is written aside, the rename
# fails, the directory stays.
data=$(fault_data shot-dir)
mkdir "$data/screenshot.tga"
fault_start shot-dir "$data"
kx_check "screenshot.tga répertoire : démarrage" kx_eq "$RUN_STATUS" started
if [ "$RUN_STATUS" = started ]; then
  press_f6_and_check "screenshot.tga répertoire" "$data" "$save_record"
  kx_check "screenshot.tga répertoire : toujours un répertoire" test -d "$data/screenshot.tga"
  fault_escape
  kx_check "screenshot.tga répertoire : Escape, statut 0" kx_eq "$RUN_STATUS" 0
fi

# A full disk, as a file-size limit on the program (1 MiB, below the 1.4 MB
# of a picture; SIGXFSZ ignored, so the write fails instead of killing the
# process): the previous picture survives, byte for byte.
limited="$KX_WORK/limited-kalimbrax.sh"
cat > "$limited" <<EOS
#!/usr/bin/env bash
trap '' XFSZ
ulimit -f 1024
exec "$KX_BUILD/kalimbrax" "\$@"
EOS
chmod +x "$limited"
data=$(fault_data shot-limit)
cp "$data/metal.tga" "$data/screenshot.tga"   # a good picture, from before
program="$KX_PROGRAM"; KX_PROGRAM="$limited"
fault_start shot-limit "$data"
KX_PROGRAM="$program"
kx_check "disque plein (limite) : démarrage" kx_eq "$RUN_STATUS" started
if [ "$RUN_STATUS" = started ]; then
  press_f6_and_check "disque plein (limite)" "$data" "$save_record"
  kx_check "disque plein (limite) : l'ancienne image intacte" cmp -s "$data/screenshot.tga" "$data/metal.tga"
  fault_escape
  kx_check "disque plein (limite) : Escape, statut 0" kx_eq "$RUN_STATUS" 0
fi

# Real file systems, when this test may mount one.
mount_tmpfs() {  # mount_tmpfs DIR SIZE
  mkdir -p "$1"
  mount -t tmpfs -o "size=$2" kx-e2e "$1" 2>/dev/null || return 1
  MOUNTS+=("$1")
}
if mount_tmpfs "$KX_WORK/full" 2560k; then
  # The data set (1.7 MB) and a previous picture leave less room than a
  # new picture needs.
  data="$KX_WORK/full/data"
  cp -r "$KX_SOURCE/default" "$data"
  kx_set_option "$data/graphics.opt" sWindowName "\"$KX_FAULT_TITLE\""
  cp "$data/metal.tga" "$data/screenshot.tga"
  fault_start shot-full "$data"
  kx_check "tmpfs plein : démarrage" kx_eq "$RUN_STATUS" started
  if [ "$RUN_STATUS" = started ]; then
    press_f6_and_check "tmpfs plein" "$data" "$save_record"
    kx_check "tmpfs plein : l'ancienne image intacte" cmp -s "$data/screenshot.tga" "$data/metal.tga"
    fault_escape
    kx_check "tmpfs plein : Escape, statut 0" kx_eq "$RUN_STATUS" 0
  fi

  # Read-only: not even the temporary file can be created, which the
  # writer treats as a file it cannot open (false, no record).
  mount_tmpfs "$KX_WORK/readonly" 4m
  data="$KX_WORK/readonly/data"
  cp -r "$KX_SOURCE/default" "$data"
  kx_set_option "$data/graphics.opt" sWindowName "\"$KX_FAULT_TITLE\""
  cp "$data/metal.tga" "$data/screenshot.tga"
  if mount -o remount,ro "$KX_WORK/readonly" 2>/dev/null; then
    fault_start shot-readonly "$data"
    kx_check "lecture seule : démarrage" kx_eq "$RUN_STATUS" started
    if [ "$RUN_STATUS" = started ]; then
      press_f6_and_check "lecture seule" "$data" ""
      kx_check "lecture seule : l'ancienne image intacte" cmp -s "$data/screenshot.tga" "$data/metal.tga"
      fault_escape
      kx_check "lecture seule : Escape, statut 0" kx_eq "$RUN_STATUS" 0
    fi
  else
    echo "  (remontage en lecture seule refusé : cas sauté)"
  fi
  unmount_all
else
  echo "  (montage tmpfs refusé : cas du système de fichiers plein et en lecture seule sautés)"
fi

kx_finish
