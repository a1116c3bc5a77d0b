# Counts the HTTP requests per host.
global requests: table[addr] of count &default=0;

event http_request(c: connection, method: string, original_URI: string,
                   unescaped_URI: string, version: string)
	{
	++requests[c$id$orig_h];  # one more
	}

event zeek_done()
	{
	for ( host, n in requests )
		print fmt("%s # %d", host, n);
	}
