-- Run by scripts/ardour-check.sh inside Ardour's headless Lua session.
--   TW_CHECK_MODE=create: a new session with a track that plays decaying
--     bursts into Tidewalker (LV2, level-triggered takes), saved.
--   TW_CHECK_MODE=render, then reload: each in a process of its own, load
--     that session, bounce the track and print the take's fingerprint.
-- Ardour runs a plug-in it has just added for a moment of its own, which
-- leaves traces (1e-10) in the filters; takes are therefore rendered from
-- the saved session, where the plug-in starts from its saved state.
-- TW_CHECK_FOLDER is the session's folder.

local function say (...)
	local words = {}
	for _, v in ipairs ({...}) do words[#words + 1] = tostring (v) end
	io.stderr:write (table.concat (words, " "), "\n")
end

local function fail (why)
	say ("ardour-check: " .. why)
	os.exit (1)
end

local mode = os.getenv ("TW_CHECK_MODE")
local folder = os.getenv ("TW_CHECK_FOLDER")
local name = "tidewalker-check"
local rate = 48000
local frames = rate * 6

-- Sets a Tidewalker parameter by the name the host shows.
local function set_parameter (insert, label, value)
	local plugin = insert:plugin (0)
	for n = 0, plugin:parameter_count () - 1 do
		local port, found = plugin:nth_parameter (n, true)
		if found[2] and plugin:parameter_label (port) == label then
			ARDOUR.LuaAPI.set_plugin_insert_param (insert, n, value)
			return
		end
	end
	fail ("no parameter " .. label)
end

AudioEngine:set_backend ("None (Dummy)", "", "")

local track
if mode == "create" then
	if not create_session (folder, name, rate) then fail ("cannot create a session in " .. folder) end
	local tracks = Session:new_audio_track (2, 2, nil, 1, "Take", ARDOUR.PresentationInfo.max_order,
	                                        ARDOUR.TrackMode.Normal, true)
	track = tracks:front ()
	-- Nothing may run in real time before the bounce, or the take would
	-- depend on how long that took.
	track:set_active (false, nil)
	local bursts = ARDOUR.LuaAPI.new_luaproc (Session, "Tidewalker Check Bursts")
	if bursts:isnil () then fail ("the burst generator is not installed") end
	local tidewalker = ARDOUR.LuaAPI.new_plugin (Session, "urn:ktlm:tidewalker", ARDOUR.PluginType.LV2, "")
	if tidewalker:isnil () then fail ("Ardour does not find the Tidewalker LV2 plug-in") end
	track:add_processor_by_index (bursts, 0, nil, true)
	track:add_processor_by_index (tidewalker, 1, nil, true)
	-- Free half-second takes from the level trigger, with some distortion and
	-- a comb filter, so the program kept in the session matters.
	local insert = tidewalker:to_insert ()
	set_parameter (insert, "Reverse Trigger Mode", 0)
	set_parameter (insert, "Reverse Tempo Sync", 0)
	set_parameter (insert, "Reverse Length", 0.3)
	set_parameter (insert, "Reverse Retrigger Hold Time", 0.3)
	set_parameter (insert, "Distort", 0.35)
	set_parameter (insert, "LowPass / Comb Filter", 1)
	set_parameter (insert, "Dry Volume", 0)
	-- Saved with the track inactive, so it stays still while the session loads.
	if Session:save_state ("", false, false, false, false, false) ~= 0 then fail ("cannot save the session") end
	close_session ()
	os.exit (0)
elseif mode ~= "render" and mode ~= "reload" then
	fail ("TW_CHECK_MODE must be create, render or reload")
end
if not load_session (folder, name) then fail ("cannot load the session in " .. folder) end
local route = Session:route_by_name ("Take")
if route:isnil () then fail ("the saved session has no track Take") end
track = route:to_track ()

-- The bounce runs in this thread, from the plug-ins' first block on.
AudioEngine:stop (false)
track:set_active (true, nil)
local region = track:bounce_range (0, frames, ARDOUR.InterThreadInfo (), track:main_outs (), false, "take")
if region:isnil () then fail ("the bounce gave no region") end
local readable = region:to_audioregion ():to_readable ()

-- FNV-1a over every sample's bits, with the peak and the energy.
local hash, peak, energy = 0xcbf29ce484222325, 0, 0
local chunk = ARDOUR.DSP.DspShm (8192)

for c = 0, readable:n_channels () - 1 do
	local pos = 0
	while pos < readable:readable_length () do
		local got = readable:read (chunk:to_float (0), pos, 8192, c)
		if got <= 0 then break end
		local samples = chunk:to_float (0):array ()
		for i = 1, got do
			local s = samples[i]
			peak = math.max (peak, math.abs (s))
			energy = energy + s * s
			for b in string.pack ("<f", s):gmatch (".") do hash = ((hash ~ b:byte ()) * 0x100000001b3) end
		end
		pos = pos + got
	end
end
say (string.format ("take: %d frames x %d channels, peak %.4f, energy %.4f, fingerprint %016x",
                    readable:readable_length (), readable:n_channels (), peak, energy, hash))

close_session ()
