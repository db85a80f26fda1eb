# The measurements of scripts/bench, sourced by it: making the benchmark frames, the ffmpeg
# baselines, starting and timing the player, and the verdict of each line. It uses the settings
# that scripts/bench sets before sourcing it (BUILD, DATA, PLAYER, RUN_SECONDS, ...).

# ---- data -----------------------------------------------------------------------------------

# make_frames DIR WIDTHxHEIGHT COUNT: DIR/S001/clip_00000.jpg .. written as the video import
# writes frames (-q:v 1), and the working folder DIR/work.
make_frames() {
    local dir=$1 size=$2 count=$3
    mkdir -p "$dir/work" "$dir/S001"
    local last
    last=$(printf '%s/S001/clip_%05d.jpg' "$dir" $((count - 1)))
    [[ -f $last ]] && return 0
    echo "== making $count frames of $size in $dir"
    rm -f "$dir"/S001/clip_*.jpg
    ffmpeg -nostdin -loglevel error -f lavfi -i "testsrc2=size=$size:rate=30" -frames:v "$count" \
        -q:v 1 -start_number 0 "$dir/S001/clip_%05d.jpg"
}

# A folder of 22000 frames for the start-up: links to one picture, the listing is what counts.
make_start_folder() {
    local dir=$DATA/start
    mkdir -p "$dir/work" "$dir/S001"
    [[ -f $(printf '%s/S001/clip_%05d.jpg' "$dir" $((START_FRAMES - 1))) ]] && return 0
    echo "== making $START_FRAMES frame links in $dir"
    local n
    for ((n = 0; n < START_FRAMES; n++)); do
        ln -f "$DATA/hd/S001/clip_00000.jpg" "$(printf '%s/S001/clip_%05d.jpg' "$dir" "$n")"
    done
}

# The contents of scripts/demo: 120 numbered frames of 480 x 360.
make_demo_frames() {
    local dir=$DATA/demo
    mkdir -p "$dir/work" "$dir/S001"
    [[ -f $dir/S001/clip_00119.jpg ]] || "$BUILD/zeltran_pictures" --frames "$dir/S001" 120 480 360 >/dev/null
}

# A camera stand-in that sees an empty room: one picture with a faint grain, 30 a second.
make_still_camera() {
    [[ -f $DATA/still-camera.mp4 ]] && return 0
    ffmpeg -nostdin -loglevel error -y -f lavfi -i testsrc2=size=320x240:rate=30 \
        -vf "trim=0:0.04,loop=299:1:0,noise=alls=3:allf=t" -t 10 -pix_fmt yuv420p \
        "$DATA/still-camera.mp4"
}

# ---- baselines ------------------------------------------------------------------------------

# ffmpeg_once DIR: frames a second that ffmpeg decodes with one thread and its CPU time per frame
# in ms, one run.
ffmpeg_once() {
    local dir=$1 frames
    frames=$(find "$dir/S001" -name 'clip_*.jpg' | wc -l)
    ffmpeg -nostdin -benchmark -threads 1 -f image2 -i "$dir/S001/clip_%05d.jpg" -f null - 2>&1 |
        sed -n 's/.*utime=\([0-9.]*\)s stime=\([0-9.]*\)s rtime=\([0-9.]*\)s.*/\1 \2 \3/p' |
        awk -v f="$frames" '{ printf "%.1f %.3f\n", f / $3, 1000 * ($1 + $2) / f }'
}

# ffmpeg_decode DIR: ffmpeg_once with a warm file cache, the faster of two runs.
ffmpeg_decode() {
    local dir=$1 run
    ffmpeg_once "$dir" >/dev/null  # fills the file cache
    for run in 1 2; do ffmpeg_once "$dir"; done | sort -g -r | head -1
}
ffmpeg_rate() { ffmpeg_decode "$1" | cut -d' ' -f1; }

# ---- the player -----------------------------------------------------------------------------

PLAYER_PID=
START_NS=0  # wall-clock time at which the last player was started
now_ns() { date +%s%N; }

# set_motion VALUE: the motion total (word 0 of the shared block) that a camera-off player follows.
set_motion() {
    local value=$1
    printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $((value & 255)) $((value >> 8 & 255)) \
        $((value >> 16 & 255)) $((value >> 24 & 255)))" |
        dd of="/dev/shm/$SHM_NAME" bs=4 count=1 conv=notrunc status=none
}

# write_settings DIR WORK: the player's settings in WORK for the frames of DIR/S001; the
# playback wraps at both ends, so the motion never stops at the last frame.
write_settings() {
    local dir=$1 work=$2
    {
        echo "4 0 $(find "$dir/S001" -name 'clip_*.jpg' | wc -l) 0.0 11500 1 1.0 5 2 0 0 0 0 2 1 0 0"
        for _ in $(seq 1280); do echo 0; done
    } >"$work/glt_env.dat"
}

# start_player DIR [ARGS...]: starts the player in DIR/work, returns once the first picture is
# on the screen (its stats line is written).
start_player() {
    local dir=$1
    shift
    rm -f "$STATS" "/dev/shm/$SHM_NAME"
    write_settings "$dir" "$dir/work"
    START_NS=$(now_ns)
    (cd "$dir/work" && exec env ZELTRAN_SHM_NAME="$SHM_NAME" ZELTRAN_STATS_FILE="$STATS" \
        ${PLAYER_PREFIX:-} "$PLAYER" "$@" </dev/null >"$DATA/player-$$.log" 2>&1) &
    PLAYER_PID=$!
    local i
    for i in $(seq 300); do
        [[ -s $STATS ]] && return 0
        sleep 0.02
    done
    echo "The player showed no picture; its output:" >&2
    cat "$DATA/player-$$.log" >&2
    exit 1
}

stop_player() {
    [[ -z $PLAYER_PID ]] && return 0
    kill -TERM "$PLAYER_PID" 2>/dev/null || true
    local i
    for i in $(seq 50); do
        kill -0 "$PLAYER_PID" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$PLAYER_PID" 2>/dev/null || true
    wait "$PLAYER_PID" 2>/dev/null || true
    PLAYER_PID=
    rm -f "/dev/shm/$SHM_NAME"
}
trap 'stop_player' EXIT

window_id() {
    xdotool search --sync --pid "$PLAYER_PID" 2>/dev/null | head -1
}

# keys KEY...: typed into the player window while nothing moves (keys typed in a cycle that
# decodes a new frame are dropped).
keys() {
    local wid
    wid=$(window_id)
    xdotool windowfocus --sync "$wid"
    local key
    for key in "$@"; do
        xdotool key "$key"
        sleep 0.2
    done
}

# shown_rate [FROM_NS]: distinct pictures a second from the stats lines written from FROM_NS on
# (by default: leaving out the first second).
shown_rate() {
    awk -v from="${1:-0}" '$1 == "shown" { n[NR] = $2; t[NR] = $3; last = NR }
        END {
            first = 0
            for (i = 1; i <= last; i++) {
                if ((from > 0) ? t[i] >= from : t[i] - t[1] >= 1e9) { first = i; break }
            }
            if (first == 0 || last <= first) { print "0"; exit }
            printf "%.1f", (n[last] - n[first]) / ((t[last] - t[first]) / 1e9)
        }' "$STATS"
}

# new_frame_rate DIR KEY...: the player in a 960 x 540 window, the keys typed, then moved by
# motion for RUN_SECONDS; prints the distinct pictures shown a second.
new_frame_rate() {
    local dir=$1
    shift
    start_player "$dir"
    xdotool windowsize "$(window_id)" 960 540
    sleep 0.5
    [[ $# -gt 0 ]] && keys "$@"
    set_motion $MOTION
    sleep "$RUN_SECONDS"
    set_motion 0
    stop_player
    shown_rate
}

# start_full_size DIR MODE: the player showing the frames of DIR at their own size, MODE window (a
# window of the frames' size at the top left of a larger screen) or fullscreen (SetDisplay.txt
# "1 0 0" on a screen of the frames' size); FULL_DISPLAY is the display it is on.
start_full_size() {
    local dir=$1 mode=$2
    FULL_DISPLAY=$DISPLAY
    rm -f "$dir/work/SetDisplay.txt"
    if [[ $mode == fullscreen ]]; then
        echo "1 0 0" >"$dir/work/SetDisplay.txt"
        FULL_DISPLAY=$(full_display "$dir")
    fi
    DISPLAY=$FULL_DISPLAY start_player "$dir"
    [[ $mode == window ]] && DISPLAY=$FULL_DISPLAY xdotool windowmove "$(window_id)" 0 0
    sleep 0.5
}

stop_full_size() {
    stop_player
    rm -f "$1/work/SetDisplay.txt"
}

# full_size_rate DIR MODE KEY...: start_full_size, the keys typed, then moved by motion for
# RUN_SECONDS. Prints the distinct pictures shown a second and the player's CPU time (all
# threads) per picture in ms, both over the same time, then ffmpeg_once of DIR run right after.
# PLAYER_PREFIX runs it under taskset.
full_size_rate() {
    local dir=$1 mode=$2
    shift 2
    start_full_size "$dir" "$mode"
    [[ $# -gt 0 ]] && DISPLAY=$FULL_DISPLAY keys "$@"
    set_motion $MOTION
    sleep 1
    local from ticks_before ticks_after
    from=$(now_ns)
    ticks_before=$(cpu_ticks "$PLAYER_PID")
    sleep "$RUN_SECONDS"
    ticks_after=$(cpu_ticks "$PLAYER_PID")
    local to
    to=$(now_ns)
    set_motion 0
    stop_full_size "$dir"
    local rate
    rate=$(shown_rate "$from")
    # ffmpeg right after, on the same files: the load of this moment is in both figures.
    awk -v r="$rate" -v d=$((ticks_after - ticks_before)) -v hz="$(getconf CLK_TCK)" \
        -v s="$(awk -v a="$from" -v b="$to" 'BEGIN { print (b - a) / 1e9 }')" \
        -v ff="$(ffmpeg_once "$dir")" \
        'BEGIN { printf "%s %.2f %s\n", r, (r > 0) ? 1000 * d / hz / s / r : 0, ff }'
}

# median4 A B C D: the median of four numbers.
median4() {
    printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { printf "%.1f", (v[2] + v[3]) / 2 }'
}

# direction_rates DIR MODE: "FORWARD BACKWARD", the new pictures a second of each direction in one
# player at full size, in turns of TURN_SECONDS (key z while nothing moves), four turns each; the
# median of each direction's turns. The speed of this machine drifts by a quarter within a minute,
# more than the difference looked for, so the two directions are measured over the same minute.
direction_rates() {
    local dir=$1 mode=$2 turn from rates=()
    start_full_size "$dir" "$mode"
    for turn in 1 2 3 4 5 6 7 8; do
        set_motion $MOTION
        sleep 0.5
        from=$(now_ns)
        sleep "$TURN_SECONDS"
        set_motion 0
        rates+=("$(shown_rate "$from")")
        sleep 0.3
        DISPLAY=$FULL_DISPLAY keys z
    done
    stop_full_size "$dir"
    echo "$(median4 "${rates[0]}" "${rates[2]}" "${rates[4]}" "${rates[6]}")" \
        "$(median4 "${rates[1]}" "${rates[3]}" "${rates[5]}" "${rates[7]}")"
}

# The display whose screen has the size of the frames of DIR.
full_display() {
    [[ $1 == "$DATA/hd" ]] && echo "$HD_SCREEN" || echo "$DISPLAY"
}

# cpu_ticks PID: user + system clock ticks of the process so far.
cpu_ticks() {
    awk '{ print $14 + $15 }' "/proc/$1/stat"
}

# cpu_percent_over SECONDS: the share of one core the running player takes over SECONDS.
cpu_percent_over() {
    local before after
    before=$(cpu_ticks "$PLAYER_PID")
    sleep "$1"
    after=$(cpu_ticks "$PLAYER_PID")
    awk -v d=$((after - before)) -v hz="$(getconf CLK_TCK)" -v s="$1" \
        'BEGIN { printf "%.2f", 100 * d / hz / s }'
}

idle_cpu_percent() {
    start_player "$DATA/hd"
    set_motion 0
    sleep 2
    cpu_percent_over "$IDLE_SECONDS"
    stop_player
}

# replay_cpu DIR: automatic replay (TAB) of DIR in a window of the frames' size, no motion;
# prints the CPU share of one core and the pictures shown a second.
replay_cpu() {
    start_player "$1"
    set_motion 0
    keys Tab
    sleep 1
    local from cpu
    from=$(now_ns)
    cpu=$(cpu_percent_over "$IDLE_SECONDS")
    stop_player
    echo "$cpu $(shown_rate "$from")"
}

# camera_idle_cpu: the player with its camera on, reading the still stand-in clip in a loop at its
# own 30 pictures a second; nothing moves.
camera_idle_cpu() {
    export ZELTRAN_CAMERA_SOURCE=$DATA/still-camera.mp4 ZELTRAN_CAMERA_LOOP=1
    start_player "$DATA/hd"
    set_motion 0
    keys q
    sleep 2
    cpu_percent_over "$IDLE_SECONDS"
    stop_player
}

# last_shown: the picture count of the newest stats line.
last_shown() {
    awk '$1 == "shown" { n = $2 } END { print n + 0 }' "$STATS"
}

# panel_cpu_ms METER: CPU milliseconds of the player (all its threads) per new frame, 1920 x 1080
# frames in a 1920 x 1080 window moved by motion, with the motion meter on (1) or off (0).
panel_cpu_ms() {
    (
        [[ $1 == 1 ]] && export ZELTRAN_METER=1
        start_player "$DATA/hd"
        xdotool windowsize "$(window_id)" 1920 1080
        set_motion $MOTION
        sleep 1
        local ticks0 shown0 ticks1 shown1
        ticks0=$(cpu_ticks "$PLAYER_PID")
        shown0=$(last_shown)
        sleep "$RUN_SECONDS"
        ticks1=$(cpu_ticks "$PLAYER_PID")
        shown1=$(last_shown)
        set_motion 0
        stop_player
        awk -v t=$((ticks1 - ticks0)) -v n=$((shown1 - shown0)) -v hz="$(getconf CLK_TCK)" \
            'BEGIN { printf "%.3f", (n > 0) ? 1000 * t / hz / n : 0 }'
    )
}

# panel_cost: CPU per frame with the meter off and on, in pairs of runs taken one after the
# other, so that both runs of a pair see the same load on the machine; prints the pair with the
# median ratio as "OFF ON".
panel_cost() {
    local pairs=() run off on
    for ((run = 0; run < PANEL_RUNS; run++)); do
        off=$(panel_cpu_ms 0)
        on=$(panel_cpu_ms 1)
        pairs+=("$(ratio_of "$on" "$off") $off $on")
    done
    printf '   meter off / on, ms a frame: %s\n' "${pairs[@]#* }" >&2
    printf '%s\n' "${pairs[@]}" | sort -n | sed -n "$((PANEL_RUNS / 2 + 1))p" | cut -d' ' -f2-
}

# panel_verdict "OFF ON": the result line of panel_cost's figures.
panel_verdict() {
    local off on
    read -r off on <<<"$1"
    verdict "6 motion meter on, 1920x1080 cycle CPU" "$on ms vs $off ms a frame with it off" \
        "$(ratio_of "$on" "$off")" 1.10 le
}

# ---- HTTP status server ---------------------------------------------------------------------

# http_turns: the player at 1920 x 1080 in a window, serving HTTP; bench/http_load.py measures its
# new-frame rate in turns with and without 50 requests a second (48 turns of 2.5 s).
http_turns() {
    local port
    port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    echo "http $port" >"$DATA/hd/work/SetNetwork.txt"
    start_full_size "$DATA/hd" window
    python3 "$ZELTRAN_ROOT/bench/http_load.py" turns "$port" "$STATS" "$SHM_NAME" 48 2.5 50
    stop_full_size "$DATA/hd"
    rm -f "$DATA/hd/work/SetNetwork.txt"
}
http_verdict() {
    local with without answered failed
    read -r with without answered failed <<<"$1"
    verdict "12 new frames 1920x1080 with 50 HTTP requests/s" \
        "$with /s vs $without /s without (turns; $answered answered, $failed failed)" \
        "$(ratio_of "$with" "$without")" 0.95 ge
}

# ---- network ------------------------------------------------------------------------------

NET_SECONDS=15
NET_RATE=60
# OSC load: NET_RATE /zeltran/motion messages a second to the player's port (slot 5, value 0, so
# the cycle stays the same), while the player's status messages are received and counted on a
# sink port. Prints the status messages received per second.
OSC_LOAD='
import socket, struct, sys, time
port, sink_port, seconds, rate = int(sys.argv[1]), int(sys.argv[2]), float(sys.argv[3]), int(sys.argv[4])
message = b"/zeltran/motion\0,ii\0" + struct.pack(">ii", 5, 0)
out = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
sink = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
sink.bind(("127.0.0.1", sink_port))
sink.setblocking(False)
start, sent, got = time.monotonic(), 0, 0
while time.monotonic() - start < seconds:
    out.sendto(message, ("127.0.0.1", port))
    sent += 1
    try:
        while True:
            sink.recv(2048)
            got += 1
    except BlockingIOError:
        pass
    time.sleep(max(0.0, start + sent / rate - time.monotonic()))
print("%.1f" % (got / seconds))
'
free_udp_port() {
    python3 -c 'import socket; s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

# start_idle WORK SHM: a player in WORK moved by the shared block SHM (camera off, motion 0), in
# the background; its process id in IDLE_PID.
start_idle() {
    local work=$1 shm=$2
    (cd "$work" && exec env ZELTRAN_SHM_NAME="$shm" "$PLAYER" </dev/null >"$work/player.log" 2>&1) &
    IDLE_PID=$!
}

# network_cpu: "PLAIN NETWORK STATUS_RATE": CPU ticks of two idle players run side by side over
# the same seconds, so that both meet the same load on the machine: one without SetNetwork.txt,
# one receiving NET_RATE motion messages and sending NET_RATE status messages a second. Four
# rounds of NET_SECONDS; which of the two starts first alternates, since the window opened last
# costs the more.
network_cpu() {
    local plain_work=$DATA/hd/work-plain net_work=$DATA/hd/work-net plain=0 net=0 port sink load
    local rate round plain_pid net_pid plain0 net0
    port=$(free_udp_port)
    sink=$(free_udp_port)
    mkdir -p "$plain_work" "$net_work"
    write_settings "$DATA/hd" "$plain_work"
    write_settings "$DATA/hd" "$net_work"
    printf 'listen %s\nsend 127.0.0.1:%s\nstatus %s\n' "$port" "$sink" \
        "$(awk -v r=$NET_RATE 'BEGIN { printf "%.5f", 1 / r }')" >"$net_work/SetNetwork.txt"
    for round in 1 2 3 4; do
        if ((round % 2)); then
            start_idle "$plain_work" "$SHM_NAME-plain" && plain_pid=$IDLE_PID
            start_idle "$net_work" "$SHM_NAME-net" && net_pid=$IDLE_PID
        else
            start_idle "$net_work" "$SHM_NAME-net" && net_pid=$IDLE_PID
            start_idle "$plain_work" "$SHM_NAME-plain" && plain_pid=$IDLE_PID
        fi
        python3 -c "$OSC_LOAD" "$port" "$sink" $((NET_SECONDS + 5)) $NET_RATE >"$DATA/load-$$.txt" &
        load=$!
        sleep 3
        plain0=$(cpu_ticks "$plain_pid")
        net0=$(cpu_ticks "$net_pid")
        sleep "$NET_SECONDS"
        plain=$((plain + $(cpu_ticks "$plain_pid") - plain0))
        net=$((net + $(cpu_ticks "$net_pid") - net0))
        wait "$load"
        rate=$(cat "$DATA/load-$$.txt")
        kill -TERM "$plain_pid" "$net_pid"
        wait "$plain_pid" "$net_pid" || true
    done
    rm -rf "$plain_work" "$net_work" "/dev/shm/$SHM_NAME-plain" "/dev/shm/$SHM_NAME-net" \
        "$DATA/load-$$.txt"
    echo "$plain $net $rate"
}

network_verdict() {
    local plain loaded status_rate
    read -r plain loaded status_rate <<<"$1"
    verdict "6 cycle CPU with OSC, $NET_RATE messages/s in and out" \
        "$loaded vs $plain ticks side by side without it (status in: $status_rate /s)" \
        "$(ratio_of "$loaded" "$plain")" 1.1 le
}

# start_seconds: from the start of the process to its first picture, with 22000 frames; median of
# three starts.
start_seconds() {
    local runs=() run t1
    for run in 1 2 3; do
        start_player "$DATA/start"
        t1=$(awk '$1 == "shown" { print $3; exit }' "$STATS")
        stop_player
        runs+=("$(awk -v a="$START_NS" -v b="$t1" 'BEGIN { printf "%.3f", (b - a) / 1e9 }')")
    done
    printf '%s\n' "${runs[@]}" | sort -n | sed -n 2p
}

# ---- run ------------------------------------------------------------------------------------

# verdict LABEL TEXT RATIO NEED OP: one result line; OP ge: ratio must be at least NEED, le: at
# most NEED.
FAILED=0
verdict() {
    local label=$1 text=$2 ratio=$3 need=$4 op=$5 result
    if awk -v r="$ratio" -v n="$need" -v op="$op" 'BEGIN { exit !((op == "ge") ? r >= n : r <= n) }'
    then
        result=PASS
    else
        result=FAIL
        FAILED=1
    fi
    printf '%-44s %-58s ratio %5.2f (%s %s)  %s\n' "$label" "$text" "$ratio" \
        "$([[ $op == ge ]] && echo '>=' || echo '<=')" "$need" "$result"
}

ratio_of() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", (b > 0) ? a / b : 0 }'; }

# measure_full_size: FULL[SIZE_MODE_DIRECTION] = "rate cpu_ms ffmpeg_rate ffmpeg_cpu_ms" of every
# full-size case, FULL[SIZE_MODE_turns] the rates of direction_rates, UHD_ONE_CORE
# full_size_rate of 3840x2160 forward on one core.
declare -A FULL
measure_full_size() {
    local size mode
    for size in hd uhd; do
        ffmpeg_once "$DATA/$size" >/dev/null  # fills the file cache
        for mode in window fullscreen; do
            FULL[${size}_${mode}_forward]=$(full_size_rate "$DATA/$size" $mode)
            FULL[${size}_${mode}_backward]=$(full_size_rate "$DATA/$size" $mode parenright z)
            FULL[${size}_${mode}_fast]=$(full_size_rate "$DATA/$size" $mode s s)
            FULL[${size}_${mode}_turns]=$(direction_rates "$DATA/$size" $mode)
        done
    done
    UHD_ONE_CORE=$(PLAYER_PREFIX="taskset -c 0" full_size_rate "$DATA/uhd" window)
}

# slower_share A B: the smaller of two rates divided by the larger.
slower_share() {
    awk -v a="$1" -v b="$2" 'BEGIN { hi = (a > b) ? a : b; lo = (a > b) ? b : a
        printf "%.3f", (hi > 0) ? lo / hi : 0 }'
}
full_rate() { echo "${FULL[$1]}" | cut -d' ' -f1; }
full_cpu() { echo "${FULL[$1]}" | cut -d' ' -f2; }
ff_rate() { echo "${FULL[$1]}" | cut -d' ' -f3; }
ff_cpu() { echo "${FULL[$1]}" | cut -d' ' -f4; }
# The full-size verdicts of SIZE (hd, uhd) with LABEL (1920x1080, ...); each case against the
# ffmpeg run that followed it.
full_size_verdicts() {
    local size=$1 label=$2 mode key
    for mode in window fullscreen; do
        for key in forward backward fast; do
            local text=$key case=${size}_${mode}_$key
            [[ $key == fast ]] && text="REPLAY_SPEED 5"
            verdict "7 full size $label $mode $text" \
                "$(full_rate $case) /s vs ffmpeg $(ff_rate $case) /s" \
                "$(ratio_of "$(full_rate $case)" "$(ff_rate $case)")" 1.0 ge
        done
        local forward backward
        read -r forward backward <<<"${FULL[${size}_${mode}_turns]}"
        verdict "8 slower direction $label $mode" \
            "forward $forward /s, backward $backward /s (step 1, in turns)" \
            "$(slower_share "$forward" "$backward")" 0.9 ge
        local case=${size}_${mode}_forward
        verdict "9 CPU per frame $label $mode" \
            "$(full_cpu $case) ms (all threads) vs ffmpeg $(ff_cpu $case) ms" \
            "$(ratio_of "$(full_cpu $case)" "$(ff_cpu $case)")" 1.3 le
    done
}
full_size_all_verdicts() {
    full_size_verdicts hd 1920x1080
    full_size_verdicts uhd 3840x2160
    verdict "10 one core: 3840x2160 forward (taskset -c 0)" \
        "$(echo "$UHD_ONE_CORE" | cut -d' ' -f1) /s vs 30 /s" \
        "$(ratio_of "$(echo "$UHD_ONE_CORE" | cut -d' ' -f1)" 30)" 1.0 ge
}

# google_bench NAME: the CSV of build-bench/bench/NAME, medians of five repetitions.
google_bench() {
    "$BUILD/bench/$1" --benchmark_format=csv --benchmark_repetitions=5 \
        --benchmark_report_aggregates_only=true 2>/dev/null
}
# median_ns CSV NAME: the median CPU time (ns) of benchmark NAME.
median_ns() {
    echo "$1" | awk -F, -v name="$2" 'index($1, name) && index($1, "_median") { print $4; exit }'
}
# The motion measure of one cycle with a mask and light 1 (bench/motion_filter_bench.cpp), beside
# the plain sum of the same run; goal: at most 0.3 ms of CPU.
motion_verdict() {
    local csv filtered plain
    csv=$(google_bench motion_filter_bench)
    filtered=$(median_ns "$csv" BM_FilteredMeasure)
    plain=$(median_ns "$csv" BM_PlainMeasure)
    verdict "11 motion measure with mask and light" \
        "$(awk -v f="$filtered" -v p="$plain" \
            'BEGIN { printf "%.1f us CPU vs 300 us (plain sum: %.1f us)", f / 1e3, p / 1e3 }')" \
        "$(ratio_of "$filtered" 300000)" 1 le
}

# ---- network camera -------------------------------------------------------------------------

# The pictures of bench/stream_delay.py, 1920 x 1080 JPEG as a camera sends them: a grey scene
# with a white box of 400 x 400 stepping 200 pixels a picture, and a black and a white picture
# for the change.
make_stream_pictures() {
    local dir=$DATA/stream
    [[ -f $dir/white.jpg ]] && return 0
    mkdir -p "$dir"
    ffmpeg -nostdin -loglevel error -y -f lavfi -i "color=c=0x808080:s=1920x1080:r=30" \
        -f lavfi -i "color=c=white:s=400x400" \
        -filter_complex "[0][1]overlay=x=mod(n*200\\,1400):y=340" -frames:v 14 \
        -q:v 3 "$dir/quiet_%02d.jpg"
    local colour
    for colour in black white; do
        ffmpeg -nostdin -loglevel error -y -f lavfi -i "color=c=$colour:s=1920x1080" -frames:v 1 \
            -q:v 3 "$dir/$colour.jpg"
    done
}

# stream_delay_ms: the player plays the 3840 x 2160 frames in a 960 x 540 window, moved by its
# camera, a Motion-JPEG stream over loopback (bench/stream_delay.py); prints "MEDIAN MAX RATE":
# the delays in ms from a change in the stream to the motion value of the cycle that measured it,
# and the new 3840 x 2160 frames shown a second meanwhile.
stream_delay_ms() {
    (
        local port out=$DATA/stream-$$.txt
        port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
        python3 "$ZELTRAN_ROOT/bench/stream_delay.py" "$port" "$DATA/stream" "$SHM_NAME" \
            "$STREAM_TRIALS" >"$out" &
        local server=$! i
        for i in $(seq 100); do
            grep -q ready "$out" 2>/dev/null && break
            sleep 0.1
        done
        export ZELTRAN_CAMERA_DEVICE=http://127.0.0.1:$port/x
        start_player "$DATA/uhd"
        xdotool windowsize "$(window_id)" 960 540
        sleep 0.5
        keys q
        wait "$server" || true
        stop_player
        local shown
        shown=$(shown_rate)
        sed -n 's/^delays //p' "$out" | tr ' ' '\n' | sort -g |
            awk -v shown="$shown" '{ d[NR] = $1 } END { if (NR == 0) exit
                m = (NR % 2) ? d[(NR + 1) / 2] : (d[NR / 2] + d[NR / 2 + 1]) / 2
                printf "%.1f %.1f %s", m, d[NR], shown }'
        rm -f "$out"
    )
}

# stream_verdict "MEDIAN MAX RATE": the result line of stream_delay_ms.
stream_verdict() {
    local median max rate
    read -r median max rate <<<"$1"
    [[ -n $median ]] || median=999999 max=999999
    verdict "13 network camera, change to motion value" \
        "median $median ms (max $max) of $STREAM_TRIALS, 3840x2160 at $rate /s, vs 150 ms" \
        "$(ratio_of "$median" 150)" 1 le
}
