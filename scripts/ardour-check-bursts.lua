ardour {
	["type"] = "dsp",
	name = "Tidewalker Check Bursts",
	category = "Utility",
	license = "MIT",
	author = "Tidewalker",
	description = [[Decaying 220 Hz bursts twice a second, the same on every run]]
}

function dsp_ioconfig ()
	return { { audio_in = 2, audio_out = 2 } }
end

local rate = 48000
local elapsed = 0

function dsp_init (r)
	rate = r
end

function dsp_run (ins, outs, n_samples)
	local period = math.floor (rate / 2)
	for c = 1, #outs do
		local a = outs[c]:array ()
		for s = 1, n_samples do
			local k = (elapsed + s - 1) % period
			a[s] = 0.5 * math.exp (-k / (rate * 0.05)) * math.sin (2 * math.pi * 220 * k / rate)
		end
	end
	elapsed = elapsed + n_samples
end
